#include "platform/win32/browser.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <ole2.h>

#include "platform/win32/com.h"

namespace lumiko::win32 {

// The container side of the embedding: client site, in-place site and frame
// for the control, and the receiver of its events.
class BrowserView::Site : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch {
public:
    Site(BrowserView& view, HWND host) : view_(view), host_(host) {}

    bool embed() {
        if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    IID_IOleObject, object_.putVoid())) ||
            !object_)
            return false;
        if (FAILED(object_->SetClientSite(this))) return false;
        RECT r;
        GetClientRect(host_, &r);
        if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, host_, &r))) return false;
        browser_ = object_.as<IWebBrowser2>(IID_IWebBrowser2);
        if (!browser_) return false;
        browser_->put_Silent(VARIANT_TRUE);
        if (auto points = object_.as<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
            if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events_.put())) && events_)
                events_->Advise(static_cast<IDispatch*>(this), &cookie_);
        }
        return true;
    }

    void close() {
        if (events_ && cookie_) events_->Unadvise(cookie_);
        events_ = {};
        cookie_ = 0;
        browser_ = {};
        if (object_) {
            object_->Close(OLECLOSE_NOSAVE);
            object_->SetClientSite(nullptr);
        }
        object_ = {};
    }

    IWebBrowser2* browser() const { return browser_.get(); }

    void resize() {
        if (!object_) return;
        RECT r;
        GetClientRect(host_, &r);
        if (auto inPlace = object_.as<IOleInPlaceObject>(IID_IOleInPlaceObject))
            inPlace->SetObjectRects(&r, &r);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    // The site lives as long as its view; the control's references do not
    // decide its lifetime.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** c) override {
        *c = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* w) override {
        *w = host_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        *doc = nullptr;
        GetClientRect(host_, pos);
        GetClientRect(host_, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(host_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the DWebBrowserEvents2 sink.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        // The new window's reference and the cancel flag stay as the browser
        // set them; the request itself is decided below.
        if (id == DISPID_NEWWINDOW2 && view_.onNewWindow) view_.onNewWindow();
        // The view stays on the page and the pad; a new window is never
        // opened here, its address goes to the panel.
        if (id == DISPID_BEFORENAVIGATE2 && params && params->cArgs == 7) {
            const std::wstring url = text(params->rgvarg[5]);
            if (!(view_.mayGo && view_.mayGo(url))) {
                cancel(params->rgvarg[0]);
                if (view_.openElsewhere) view_.openElsewhere(url);
            }
        }
        if (id == DISPID_NEWWINDOW3 && params && params->cArgs == 5) {
            cancel(params->rgvarg[3]);
            if (view_.openElsewhere) view_.openElsewhere(text(params->rgvarg[0]));
        }
        // A page loaded starts at its own size.
        if (id == DISPID_DOCUMENTCOMPLETE) {
            view_.zoomShown_ = 100;
            view_.setZoom(view_.zoom_);
        }
        return S_OK;
    }

private:
    // An event's string argument, passed by value or by reference.
    static std::wstring text(const VARIANT& v) {
        const VARIANT* p = v.vt == (VT_BYREF | VT_VARIANT) ? v.pvarVal : &v;
        if (p && p->vt == VT_BSTR && p->bstrVal) return std::wstring(p->bstrVal, SysStringLen(p->bstrVal));
        if (p && p->vt == (VT_BYREF | VT_BSTR) && p->pbstrVal && *p->pbstrVal)
            return std::wstring(*p->pbstrVal, SysStringLen(*p->pbstrVal));
        return {};
    }
    static void cancel(VARIANT& v) {
        if (v.vt == (VT_BYREF | VT_BOOL) && v.pboolVal) *v.pboolVal = VARIANT_TRUE;
    }

    BrowserView& view_;
    HWND host_;
    Com<IOleObject> object_;
    Com<IWebBrowser2> browser_;
    Com<IConnectionPoint> events_;
    DWORD cookie_ = 0;
};

namespace {
constexpr const wchar_t* kHostClass = L"LumikoBrowserHost";

LRESULT CALLBACK hostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) {
        if (auto* site = reinterpret_cast<BrowserView::Site*>(GetWindowLongPtrW(w, GWLP_USERDATA)))
            site->resize();
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

BrowserView::BrowserView() = default;

BrowserView::~BrowserView() { destroy(); }

bool BrowserView::create(HWND parent) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kHostClass;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        registered = RegisterClassW(&wc) != 0;
    }
    host_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 1, 1, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!host_) return false;
    site_ = std::make_unique<Site>(*this, host_);
    if (!site_->embed()) {
        site_->close();
        site_.reset();
        return false;
    }
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(site_.get()));
    return true;
}

bool BrowserView::showText(HWND parent, const std::wstring& text) {
    host_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | SS_CENTER, 0, 0, 1, 1, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (host_) SendMessageW(host_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return host_ != nullptr;
}

void BrowserView::destroy() {
    if (host_) SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    if (site_) site_->close();
    site_.reset();
    if (host_) DestroyWindow(host_);
    host_ = nullptr;
}

bool BrowserView::hasControl() const { return site_ && site_->browser(); }

void BrowserView::navigate(const std::wstring& path) {
    if (!hasControl()) return;
    Bstr address(path);
    VARIANT empty;
    VariantInit(&empty);
    site_->browser()->Navigate(address.get(), &empty, &empty, &empty, &empty);
}

bool BrowserView::setZoom(int percent) {
    zoom_ = percent;
    if (!hasControl()) return false;
    if (zoomShown_ == percent) return true;
    // The optical zoom of the control (Internet Explorer 7 and later) scales
    // the page's text and pictures together, as the panel is scaled.
    VARIANT in;
    VariantInit(&in);
    in.vt = VT_I4;
    in.lVal = percent;
    const HRESULT done = site_->browser()->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
    // Tried once per page and zoom, whether it worked or not.
    zoomShown_ = percent;
    return SUCCEEDED(done);
}

void BrowserView::reload() {
    if (hasControl()) site_->browser()->Refresh();
}

void BrowserView::place(int left, int top, int width, int height, bool visible) {
    if (!host_) return;
    const RECT r{left, top, left + width, top + height};
    if (!EqualRect(&r, &placed_)) {
        placed_ = r;
        SetWindowPos(host_, HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
    }
    if (visible != visible_) {
        visible_ = visible;
        ShowWindow(host_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

}  // namespace lumiko::win32
