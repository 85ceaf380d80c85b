// Exports of the modern-app catalogue and the icons.
#include "apps/metro_app_catalog.h"
#include "apps/tile_picture.h"
#include "common/buffer.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "platform/icons.h"

namespace sc {

// Lives from load to unload; each key-list request refills it.
MetroAppCatalog metroAppCatalog;

} // namespace sc

extern "C" {

uint32_t STROKECAST_CALL GetMetroKeyArrary(sc_char* buffer, uint32_t bufferLen) {
    return sc::guarded<uint32_t>(0, [&]() -> uint32_t {
        // The app list belongs to the settings session, which holds the action manager open.
        if (!sc::actionManager.isOpen() || buffer == nullptr)
            return 0;
        return sc::copyOut(sc::metroAppCatalog.refreshAndListKeys(), buffer, bufferLen);
    });
}

uint32_t STROKECAST_CALL GetMetroAppInfo(uint32_t key, sc_char* buffer, uint32_t bufferLen) {
    return sc::guarded<uint32_t>(0, [&]() -> uint32_t {
        if (!sc::actionManager.isOpen() || buffer == nullptr)
            return 0;
        std::u16string text;
        if (!sc::metroAppCatalog.infoText(key, text))
            return 0;
        return sc::copyOut(text, buffer, bufferLen);
    });
}

void* STROKECAST_CALL GetMetroIcon(const sc_char* logoPath, uint32_t background) {
    return sc::guarded<void*>(nullptr, [&]() -> void* {
        if (logoPath == nullptr)
            return nullptr;
        return platform::tilePicture(sc::text(logoPath), sc::tileBackgroundPixel(background));
    });
}

void* STROKECAST_CALL GetFileLargeIcon(const sc_char* path) {
    return sc::guarded<void*>(nullptr, [&]() -> void* {
        if (path == nullptr)
            return nullptr;
        return platform::fileLargeIcon(sc::text(path));
    });
}
}
