// The real overlay windows and their threads under Wine, driven with synthetic pointer messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "capture/charm_bar_broker.h"
#include "common/messages.h"
#include "platform/win32/uia.h"
#include "tests/win32/overlay/scripted_pointer.h"
#include "tests/win32/queue_watch.h"

namespace {

using sc::OverlayPhase;
namespace automation = platform::automation;

// Every wait is for an event, with a deadline far beyond what a loaded machine needs.
bool waitFor(const std::function<bool()>& done, int milliseconds = 20000) {
    return sctest::waitUntil(done, milliseconds);
}

// A stand-in for the capturer window: a message-only window on its own thread that records points.
class PointSink {
  public:
    PointSink() {
        thread_ = std::thread([this] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"PointSink";
            RegisterClassW(&wc);
            HWND w =
                CreateWindowExW(0, L"PointSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            window_ = w;
            MSG m;
            while (GetMessageW(&m, nullptr, 0, 0) > 0)
                DispatchMessageW(&m);
        });
        while (!window_)
            Sleep(1);
    }
    ~PointSink() {
        PostMessageW(window_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }
    std::vector<POINT> points() {
        std::lock_guard lock(mutex_);
        return points_;
    }
    // Every point forwarded so far, once the sink has received them all: a control point posted now queues
    // behind any point an overlay has already forwarded, so the points that came before it are complete.
    std::vector<POINT> pointsSoFar() {
        const LONG control = -32000;
        PostMessageW(window_, sc::msg::kCapturePoint, static_cast<WPARAM>(control), control);
        std::vector<POINT> before;
        const bool arrived = waitFor([&] {
            before = points();
            for (std::size_t i = 0; i < before.size(); ++i) {
                if (before[i].x == control && before[i].y == control) {
                    before.resize(i);
                    return true;
                }
            }
            return false;
        });
        EXPECT_TRUE(arrived);
        std::lock_guard lock(mutex_);
        points_.erase(std::remove_if(points_.begin(), points_.end(),
                                     [control](const POINT& p) { return p.x == control && p.y == control; }),
                      points_.end());
        return before;
    }

  private:
    static LRESULT CALLBACK proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == sc::msg::kCapturePoint) {
            auto* self = reinterpret_cast<PointSink*>(GetWindowLongPtrW(w, GWLP_USERDATA));
            std::lock_guard lock(self->mutex_);
            self->points_.push_back({static_cast<LONG>(wParam), static_cast<LONG>(lParam)});
            return 0;
        }
        return DefWindowProcW(w, message, wParam, lParam);
    }
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::mutex mutex_;
    std::vector<POINT> points_;
};

// A visible window standing in for the charm bar at the screen's right edge.
class FakeCharmBar {
  public:
    FakeCharmBar() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FakeCharmBar";
        RegisterClassW(&wc);
        const int width = GetSystemMetrics(SM_CXSCREEN);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"FakeCharmBar", L"Charm Bar", WS_POPUP | WS_VISIBLE,
                                  width - 100, 0, 100, GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    ~FakeCharmBar() { DestroyWindow(window_); }
    HWND window() const { return window_; }

  private:
    HWND window_;
};

class Overlay : public testing::Test {
  protected:
    void SetUp() override {
        sctest::clearTouches();
        broker =
            sc::CharmBarBroker::create(reinterpret_cast<platform::ui::ModuleId>(GetModuleHandleW(nullptr)));
        broker->setCapturerWindow(reinterpret_cast<platform::ui::WindowId>(sink.window()));
    }
    void TearDown() override {
        broker->shutDown();
        broker->setCharmBarCaptureEnable(false);
        waitFor([] { return FindWindowW(L"TouchOverlay", nullptr) == nullptr; });
    }
    HWND show() {
        broker->showOrDismissThreadWindow();
        return shown();
    }
    // The watch reports the charm bar opening, with capture switched on; the overlay it brings.
    HWND showForCharmBar(const FakeCharmBar& charm, std::u16string_view automationId) {
        broker->setCharmBarCaptureEnable(true);
        opened(charm, automationId);
        return shown();
    }
    void opened(const FakeCharmBar& charm, std::u16string_view automationId) {
        broker->onAutomationEvent({automation::kWindowOpenedEvent, true, std::u16string(automationId),
                                   reinterpret_cast<platform::ui::WindowId>(charm.window())});
    }
    HWND shown() {
        EXPECT_TRUE(waitFor([this] { return broker->overlayPhase() == OverlayPhase::Shown; }));
        return reinterpret_cast<HWND>(broker->overlayWindow());
    }
    static void pointer(HWND overlay, UINT message, std::uint32_t id) {
        SendMessageW(overlay, message, id, 0);
    }
    static bool gone(HWND overlay) {
        return waitFor([overlay] { return !IsWindow(overlay); });
    }

    PointSink sink;
    std::shared_ptr<sc::CharmBarBroker> broker;
};

TEST_F(Overlay, TouchDownMoveUpForwardsEveryPointThenCloses) {
    HWND overlay = show();
    ASSERT_NE(overlay, nullptr);
    sctest::scriptTouch(5, 100, 200);
    pointer(overlay, WM_POINTERDOWN, 5);
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::Touched);
    sctest::scriptTouch(5, 130, -20);                   // positions are signed screen pixels
    pointer(overlay, WM_POINTERUPDATE, 0x00FF0000 | 5); // flags in the high word
    sctest::scriptTouch(5, 160, 240);
    pointer(overlay, WM_POINTERUP, 5);
    EXPECT_TRUE(gone(overlay));
    ASSERT_TRUE(waitFor([this] { return sink.points().size() == 3; }));
    const auto points = sink.points();
    EXPECT_EQ(points[0].x, 100);
    EXPECT_EQ(points[1].y, -20);
    EXPECT_EQ(points[2].x, 160); // the up point arrives before the overlay goes
    EXPECT_TRUE(waitFor([this] { return broker->overlayPhase() == OverlayPhase::None; }));
}

TEST_F(Overlay, PenIsNotForwardedButItsLiftDismisses) {
    HWND overlay = show();
    pointer(overlay, WM_POINTERDOWN, 9); // not scripted: a pen
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::Shown);
    pointer(overlay, WM_POINTERUP, 9);
    EXPECT_TRUE(gone(overlay));
    EXPECT_TRUE(sink.pointsSoFar().empty());
}

TEST_F(Overlay, MouseButtonReleaseDismissesWithoutAPoint) {
    for (UINT message : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP}) {
        HWND overlay = show();
        SendMessageW(overlay, message, 0, MAKELPARAM(10, 10));
        EXPECT_TRUE(gone(overlay));
        ASSERT_TRUE(waitFor([this] { return broker->overlayPhase() == OverlayPhase::None; }));
    }
    EXPECT_TRUE(sink.pointsSoFar().empty());
}

TEST_F(Overlay, SecondPressWhileTouchingWaitsForTheTouchToPause) {
    HWND overlay = show();
    ASSERT_NE(overlay, nullptr);
    // The overlay's thread is held right after the touch goes down, so the touch timer cannot end anything
    // before the second press and the touch stream below are in place.
    sctest::QueueWatch queue(GetWindowThreadProcessId(overlay, nullptr));
    ASSERT_TRUE(queue.hooked());
    sctest::scriptTouch(1, 50, 50);
    PostMessageW(overlay, WM_POINTERDOWN, 1, 0);
    ASSERT_TRUE(queue.hold());
    ASSERT_EQ(queue.count(WM_POINTERDOWN, overlay), 1u);
    broker->showOrDismissThreadWindow();
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::Pending);
    // Touch keeps coming every 30 ms: the overlay stays. The updates queue up at once and the overlay's own
    // thread takes them 30 ms apart, so no stall of this thread can open a gap longer than the timer.
    const int updates = 10;
    queue.pace(WM_POINTERUPDATE, 30);
    for (int i = 0; i < updates; ++i)
        PostMessageW(overlay, WM_POINTERUPDATE, 1, 0);
    queue.release();
    for (std::size_t i = 1; i <= updates; ++i) {
        ASSERT_TRUE(waitFor([&] { return queue.count(WM_POINTERUPDATE, overlay) >= i; })) << i;
        ASSERT_TRUE(IsWindow(overlay)) << i;
    }
    sctest::QueueWatch::Taken lastTouch{};
    ASSERT_TRUE(queue.last(WM_POINTERUPDATE, lastTouch));
    EXPECT_TRUE(gone(overlay));
    // About 100 ms after the last touch message; the slack covers the timer's granularity.
    EXPECT_GE(std::chrono::steady_clock::now() - lastTouch.time, std::chrono::milliseconds(80));
}

TEST_F(Overlay, SecondPressBeforeAnyTouchClosesAtOnce) {
    HWND overlay = show();
    broker->showOrDismissThreadWindow();
    EXPECT_TRUE(gone(overlay));
}

TEST_F(Overlay, CharmBarOverlayLeavesTheCharmBarOutAndClosesWithTheStroke) {
    FakeCharmBar charm;
    HWND overlay = showForCharmBar(charm, u"Windows Charm Bar");
    ASSERT_NE(overlay, nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(overlay, region), ERROR);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_TRUE(PtInRegion(region, width - 101, 10));
    EXPECT_FALSE(PtInRegion(region, width - 50, 10)); // touches there reach the charm bar
    DeleteObject(region);

    sctest::scriptTouch(2, 10, 10);
    pointer(overlay, WM_POINTERDOWN, 2);
    pointer(overlay, WM_POINTERUP, 2);
    EXPECT_TRUE(gone(overlay));
    EXPECT_EQ(broker->charmBarWindow(), 0u); // closed with the stroke
}

TEST_F(Overlay, CharmBarOverlayGoesWhenTheMouseMovesAfterTheCharmBarHid) {
    FakeCharmBar charm;
    HWND overlay = showForCharmBar(charm, u"Charm Bar");
    ASSERT_NE(overlay, nullptr);
    sctest::QueueWatch queue(GetWindowThreadProcessId(overlay, nullptr));
    ASSERT_TRUE(queue.hooked());
    SendMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    // A close the move asked for would be in the overlay's queue by now: once its thread has taken
    // everything before a later marker, the window is known to stay.
    ASSERT_TRUE(queue.flush());
    EXPECT_TRUE(IsWindow(overlay)); // the charm bar is still shown
    ShowWindow(charm.window(), SW_HIDE);
    SendMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_TRUE(gone(overlay));
    EXPECT_EQ(broker->charmBarWindow(), 0u);
}

TEST_F(Overlay, CharmBarWithCaptureOffShowsNothingAndItsThreadEnds) {
    FakeCharmBar charm;
    opened(charm, u"Charm Bar");
    EXPECT_TRUE(waitFor([this] { return broker->overlayPhase() == OverlayPhase::None; }));
    EXPECT_EQ(FindWindowW(L"TouchOverlay", nullptr), nullptr);
    EXPECT_EQ(broker->charmBarWindow(), reinterpret_cast<platform::ui::WindowId>(charm.window()));
}

TEST_F(Overlay, ShutDownWhileShownClosesTheOverlayAndTheBrokerOutlivesItsThread) {
    HWND overlay = show();
    std::weak_ptr<sc::CharmBarBroker> weak = broker;
    broker->shutDown();
    broker.reset(); // the overlay's thread still holds it while it handles the close
    EXPECT_TRUE(gone(overlay));
    EXPECT_TRUE(waitFor([&weak] { return weak.expired(); }));
    broker = sc::CharmBarBroker::create(reinterpret_cast<platform::ui::ModuleId>(GetModuleHandleW(nullptr)));
}

// A sender whose id and window come from the test; every other slot is never called.
class FakeElement final : public platform::win32::uia::IElement {
  public:
    FakeElement(const wchar_t* id, HWND window, bool fails) : id_(id), window_(window), fails_(fails) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
// clang-format off
#define UNUSED_SLOT(n) \
    HRESULT STDMETHODCALLTYPE unused##n() override { return E_NOTIMPL; }
    UNUSED_SLOT(0) UNUSED_SLOT(1) UNUSED_SLOT(2) UNUSED_SLOT(3) UNUSED_SLOT(4) UNUSED_SLOT(5) UNUSED_SLOT(6) UNUSED_SLOT(7)
    UNUSED_SLOT(8) UNUSED_SLOT(9) UNUSED_SLOT(10) UNUSED_SLOT(12) UNUSED_SLOT(13) UNUSED_SLOT(14) UNUSED_SLOT(15) UNUSED_SLOT(16)
    UNUSED_SLOT(17) UNUSED_SLOT(19) UNUSED_SLOT(20) UNUSED_SLOT(21) UNUSED_SLOT(22) UNUSED_SLOT(23) UNUSED_SLOT(24) UNUSED_SLOT(25)
    UNUSED_SLOT(27) UNUSED_SLOT(28) UNUSED_SLOT(29) UNUSED_SLOT(30) UNUSED_SLOT(31) UNUSED_SLOT(32)
#undef UNUSED_SLOT
    HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(int, REFIID, void** pattern) override {
        *pattern = nullptr;
        return E_NOTIMPL;
    }
    // clang-format on
    HRESULT STDMETHODCALLTYPE get_CurrentControlType(int* type) override {
        *type = 50032;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CurrentAutomationId(BSTR* id) override {
        if (fails_)
            return E_FAIL;
        *id = SysAllocString(id_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CurrentNativeWindowHandle(void** window) override {
        *window = window_;
        return S_OK;
    }

  private:
    const wchar_t* id_;
    HWND window_;
    bool fails_;
};

TEST(EventHandler, ReportsTheSendersIdAndWindowAndDecidesThroughTheBroker) {
    std::vector<automation::WindowEvent> seen;
    auto* handler = new platform::win32::uia::EventHandler(
        [&seen](const automation::WindowEvent& e) { seen.push_back(e); });
    HWND window = reinterpret_cast<HWND>(0x1234);
    FakeElement charm(L"the CHARM BAR", window, false);
    FakeElement broken(L"Charm Bar", window, true);
    EXPECT_EQ(handler->HandleAutomationEvent(&charm, 20016), S_OK);
    EXPECT_EQ(handler->HandleAutomationEvent(&broken, 20017), S_OK);
    EXPECT_EQ(handler->HandleAutomationEvent(nullptr, 20016), S_OK);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].readOk);
    EXPECT_EQ(seen[0].automationId, u"the CHARM BAR");
    EXPECT_EQ(seen[0].window, reinterpret_cast<platform::ui::WindowId>(window));
    EXPECT_EQ(seen[0].eventId, 20016);
    EXPECT_FALSE(seen[1].readOk); // a failed read is no match
    EXPECT_FALSE(seen[2].readOk);

    void* object = nullptr;
    EXPECT_EQ(handler->QueryInterface(platform::win32::uia::kIidEventHandler, &object), S_OK);
    EXPECT_EQ(object, static_cast<platform::win32::uia::IEventHandler*>(handler));
    EXPECT_EQ(handler->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(handler->Release(), 1u);
    EXPECT_EQ(handler->Release(), 0u);
}

} // namespace
