// The charm-bar watch through UI Automation.
#include "platform/automation.h"

#include "common/console.h"
#include "platform/win32/handles.h"
#include "platform/win32/uia.h"

namespace platform {
namespace win32::uia {

HRESULT EventHandler::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidEventHandler)) {
        *object = static_cast<IEventHandler*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG EventHandler::AddRef() {
    return ++refCount_;
}

ULONG EventHandler::Release() {
    const ULONG count = --refCount_;
    if (count == 0)
        delete this;
    return count;
}

HRESULT EventHandler::HandleAutomationEvent(IElement* sender, int eventId) {
    try {
        automation::WindowEvent event;
        event.eventId = eventId;
        if (sender) {
            BSTR id = nullptr;
            void* window = nullptr;
            const HRESULT idRead = sender->get_CurrentAutomationId(&id);
            const HRESULT windowRead = sender->get_CurrentNativeWindowHandle(&window);
            event.readOk = SUCCEEDED(idRead) && SUCCEEDED(windowRead);
            if (SUCCEEDED(idRead) && id)
                event.automationId = utf16(std::wstring_view(id, SysStringLen(id)));
            if (SUCCEEDED(windowRead))
                event.window = reinterpret_cast<ui::WindowId>(window);
            SysFreeString(id);
        }
        if (sink_)
            sink_(event);
    } catch (...) {
        sc::trace::line(u"automation event failed");
    }
    return S_OK;
}

} // namespace win32::uia

namespace automation {

using win32::ComPtr;
namespace uia = win32::uia;

class Watch {
  public:
    HRESULT com = E_FAIL;
    DWORD thread = 0;
    ComPtr<uia::IAutomation> automation;
    ComPtr<uia::IElement> rootElement;
    ComPtr<uia::EventHandler> eventHandler;
};

void WatchDeleter::operator()(Watch* watch) const {
    delete watch;
}

WatchPtr startWatch(EventSink sink) {
    WatchPtr watch(new Watch);
    watch->com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    watch->thread = GetCurrentThreadId();
    const HRESULT created = CoCreateInstance(uia::kClsidCUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                             uia::kIidIUIAutomation, watch->automation.putVoid());
    if (FAILED(created) || !watch->automation) {
        sc::console::line("CoCreateInstance in InitIUIAutomation fail");
        return watch;
    }
    if (FAILED(watch->automation->GetRootElement(watch->rootElement.put())) || !watch->rootElement) {
        sc::console::line("GetRootElement in InitIUIAutomation fail");
        return watch;
    }
    *watch->eventHandler.put() = new (std::nothrow) uia::EventHandler(std::move(sink));
    if (!watch->eventHandler) {
        sc::console::line("new EventHandler in InitIUIAutomation fail");
        return watch;
    }
    if (FAILED(watch->automation->AddAutomationEventHandler(kWindowOpenedEvent, watch->rootElement.get(),
                                                            uia::kTreeScopeSubtree, nullptr,
                                                            watch->eventHandler.get()))) {
        sc::console::line("AddAutomationEventHandler OpenedEventId in InitIUIAutomation fail");
        return watch;
    }
    if (FAILED(watch->automation->AddAutomationEventHandler(kWindowClosedEvent, watch->rootElement.get(),
                                                            uia::kTreeScopeSubtree, nullptr,
                                                            watch->eventHandler.get()))) {
        sc::console::line("AddAutomationEventHandler ClosedEventId in InitIUIAutomation fail");
        return watch;
    }
    return watch;
}

void stopWatch(WatchPtr watch) {
    if (!watch)
        return;
    if (watch->automation)
        watch->automation->RemoveAllEventHandlers();
    watch->automation.reset();
    watch->eventHandler.reset();
    watch->rootElement.reset();
    // Leave the apartment only if this watch joined it, and only from the thread that did; a host thread
    // that was already single-threaded keeps its own COM state untouched.
    const bool joined = SUCCEEDED(watch->com);
    const bool sameThread = watch->thread == GetCurrentThreadId();
    watch.reset();
    if (joined && sameThread)
        CoUninitialize();
}

void closeWindow(Watch& watch, ui::WindowId window) {
    if (!watch.automation)
        return;
    ComPtr<uia::IElement> element;
    if (FAILED(watch.automation->ElementFromHandle(reinterpret_cast<void*>(window), element.put())) ||
        !element)
        return;
    int controlType = 0;
    if (FAILED(element->get_CurrentControlType(&controlType)) || controlType != uia::kWindowControlTypeId)
        return;
    ComPtr<uia::IWindowPattern> pattern;
    if (SUCCEEDED(
            element->GetCurrentPatternAs(uia::kWindowPatternId, uia::kIidWindowPattern, pattern.putVoid())) &&
        pattern)
        pattern->Close();
}

} // namespace automation
} // namespace platform
