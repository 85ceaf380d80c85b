// Tile pictures through the imaging component and GDI, and the shell's extra-large file icons.
#include "platform/icons.h"

#include <windows.h>

#include <commctrl.h>
#include <commoncontrols.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/win32/handles.h"

namespace platform {
namespace {

using win32::ComPtr;
using UniqueBitmap = win32::Unique<HBITMAP, &DeleteObject>;
using UniqueDc = win32::Unique<HDC, &DeleteDC>;

// No import library carries this one.
constexpr IID kIImageList = {0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

constexpr int kTileSide = 60;
constexpr int kLogoSide = 58;

struct ImageSize {
    UINT width;
    UINT height;
};

// A 32-bit BI_RGB DIB section; a negative height makes it top-down. Null on failure.
HBITMAP createDib(LONG width, LONG height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    HBITMAP dib = CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (dib != nullptr && *bits == nullptr) {
        DeleteObject(dib);
        return nullptr;
    }
    return dib;
}

// Loads an image file as a 32-bit top-down DIB section, optionally scaled (a height of 0 keeps the
// aspect ratio) and with premultiplied alpha. Bitmap files are read by GDI first, which keeps their
// alpha bytes; everything else, and any bitmap GDI refuses, goes through the imaging decoders.
HBITMAP loadImageBitmap(const wchar_t* path, const ImageSize* size, bool premultiplied) {
    UniqueBitmap fromFile;
    if (lstrcmpiW(PathFindExtensionW(path), L".bmp") == 0)
        fromFile.reset(static_cast<HBITMAP>(
            LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (fromFile && size == nullptr)
        return fromFile.release();

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_ALL, IID_IWICImagingFactory,
                                factory.putVoid())))
        return nullptr;

    ComPtr<IWICBitmapSource> source;
    if (fromFile) {
        ComPtr<IWICBitmap> bitmap;
        if (FAILED(
                factory->CreateBitmapFromHBITMAP(fromFile.get(), nullptr, WICBitmapUseAlpha, bitmap.put())))
            return nullptr;
        fromFile.reset(); // the pixels now live in the imaging bitmap
        source = bitmap.as<IWICBitmapSource>(IID_IWICBitmapSource);
    } else {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        if (FAILED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnLoad, decoder.put())) ||
            FAILED(decoder->GetFrame(0, frame.put())))
            return nullptr;
        source = frame.as<IWICBitmapSource>(IID_IWICBitmapSource);
    }
    if (!source)
        return nullptr;

    if (size != nullptr && size->width != 0) {
        ComPtr<IWICBitmapScaler> scaler;
        if (FAILED(factory->CreateBitmapScaler(scaler.put())))
            return nullptr;
        UINT height = size->height;
        WICBitmapInterpolationMode mode = WICBitmapInterpolationModeCubic;
        if (height == 0) {
            UINT w0 = 0, h0 = 0;
            if (FAILED(source->GetSize(&w0, &h0)) || w0 == 0)
                return nullptr;
            height = size->width * h0 / w0;
            mode = WICBitmapInterpolationModeFant;
        }
        if (FAILED(scaler->Initialize(source.get(), size->width, height, mode)))
            return nullptr;
        source = scaler.as<IWICBitmapSource>(IID_IWICBitmapSource);
        if (!source)
            return nullptr;
    }

    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())))
        return nullptr;
    // An image the converter cannot take has no size or pixels to copy: give up rather than read them.
    if (FAILED(converter->Initialize(
            source.get(), premultiplied ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGRA,
            WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeMedianCut)))
        return nullptr;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return nullptr;
    const std::uint64_t stride = std::uint64_t{width} * 4;
    const std::uint64_t bytes = stride * height;
    if (bytes > std::numeric_limits<UINT>::max() || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return nullptr;

    void* bits = nullptr;
    UniqueBitmap dib(createDib(static_cast<LONG>(width), -static_cast<LONG>(height), &bits));
    if (!dib)
        return nullptr;
    if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(bytes),
                                     static_cast<BYTE*>(bits))))
        return nullptr;
    return dib.release();
}

} // namespace

void* tilePicture(std::u16string_view logoPath, std::uint32_t backgroundPixel) {
    const std::wstring path = win32::wide(logoPath);
    const ImageSize logoSize{kLogoSide, kLogoSide};
    const UniqueBitmap logo(loadImageBitmap(path.c_str(), &logoSize, true));
    if (!logo)
        return nullptr;

    const UniqueDc tileDc(CreateCompatibleDC(nullptr));
    const UniqueDc logoDc(CreateCompatibleDC(nullptr));
    if (!tileDc || !logoDc)
        return nullptr;
    void* bits = nullptr;
    UniqueBitmap tile(createDib(kTileSide, kTileSide, &bits));
    if (!tile)
        return nullptr;
    std::fill_n(static_cast<std::uint32_t*>(bits), kTileSide * kTileSide, backgroundPixel);

    const HGDIOBJ oldTile = SelectObject(tileDc.get(), tile.get());
    const HGDIOBJ oldLogo = SelectObject(logoDc.get(), logo.get());
    // The logo's own (premultiplied) alpha decides how much background shows through.
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const bool blended =
        oldTile != nullptr && oldLogo != nullptr &&
        AlphaBlend(tileDc.get(), 1, 1, kLogoSide, kLogoSide, logoDc.get(), 0, 0, kLogoSide, kLogoSide, blend);
    if (oldLogo != nullptr)
        SelectObject(logoDc.get(), oldLogo);
    if (oldTile != nullptr)
        SelectObject(tileDc.get(), oldTile);
    GdiFlush();
    // A tile without its logo would pass for a picture of the app: report it as the failure it is.
    if (!blended)
        return nullptr;
    return tile.release();
}

void* fileLargeIcon(std::u16string_view path) {
    // A path the shell cannot resolve leaves the index 0: the image list's first icon.
    SHFILEINFOW info{};
    SHGetFileInfoW(win32::wide(path).c_str(), 0xFFFFFFFF, &info, sizeof info, SHGFI_SYSICONINDEX);
    ComPtr<IImageList> list;
    if (FAILED(SHGetImageList(SHIL_EXTRALARGE, kIImageList, list.putVoid())))
        return nullptr;
    HICON icon = nullptr;
    if (FAILED(list->GetIcon(info.iIcon, ILD_TRANSPARENT, &icon)))
        return nullptr;
    return icon;
}

} // namespace platform
