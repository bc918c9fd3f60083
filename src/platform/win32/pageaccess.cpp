#include "platform/win32/pageaccess.h"

#include <mshtml.h>
#include <oleacc.h>

#include <cstring>

#include "platform/win32/com.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

constexpr const char* kBrowserClass = "Internet Explorer_Server";

bool isBrowserWindow(HWND w) {
    char cls[256] = {};
    GetClassNameA(w, cls, 255);
    return std::strcmp(cls, kBrowserClass) == 0;
}

// A property of an element read or written through its automation interface,
// since "value" and "href" belong to the element's own kind (input, text area,
// link) rather than to IHTMLElement.
bool propertyId(IDispatch* d, const wchar_t* name, DISPID& id) {
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    return d && SUCCEEDED(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

Text getProperty(IDispatch* d, const wchar_t* name) {
    DISPID id;
    if (!propertyId(d, name, id)) return {};
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    Text out;
    if (SUCCEEDED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                            nullptr, nullptr)) &&
        SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal)
        out = gbkOfWide(std::wstring_view(result.bstrVal, SysStringLen(result.bstrVal)));
    VariantClear(&result);
    return out;
}

void putProperty(IDispatch* d, const wchar_t* name, const Text& value) {
    DISPID id;
    if (!propertyId(d, name, id)) return;
    Bstr text(wideOfGbk(value));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = text.get();
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

class HtmlElement : public PageElement {
public:
    explicit HtmlElement(Com<IHTMLElement> e) : e_(std::move(e)) {}

    Text value() const override { return getProperty(e_.get(), L"value"); }
    void setValue(const Text& v) override { putProperty(e_.get(), L"value", v); }
    Text innerText() const override {
        Bstr text;
        if (FAILED(e_->get_innerText(text.put()))) return {};
        return gbkOfWide(text.str());
    }
    Text href() const override { return getProperty(e_.get(), L"href"); }
    void click() override { e_->click(); }

private:
    Com<IHTMLElement> e_;
};

std::shared_ptr<PageElement> elementOf(IDispatch* d) {
    if (!d) return nullptr;
    Com<IHTMLElement> e;
    if (FAILED(d->QueryInterface(IID_IHTMLElement, e.putVoid())) || !e) return nullptr;
    return std::make_shared<HtmlElement>(std::move(e));
}

std::shared_ptr<PageElement> itemOf(IHTMLElementCollection* c, long index) {
    if (!c) return nullptr;
    VARIANT name, at;
    VariantInit(&name);
    VariantInit(&at);
    name.vt = VT_I4;
    name.lVal = index;
    at.vt = VT_I4;
    at.lVal = 0;
    Com<IDispatch> d;
    if (FAILED(c->item(name, at, d.put()))) return nullptr;
    return elementOf(d.get());
}

class HtmlDocument : public PageDocument {
public:
    explicit HtmlDocument(Com<IHTMLDocument2> d)
        : doc_(std::move(d)), doc3_(doc_.as<IHTMLDocument3>(IID_IHTMLDocument3)) {}

    std::shared_ptr<PageElement> elementByName(const Text& name) override {
        if (!doc3_) return nullptr;
        Bstr n(wideOfGbk(name));
        Com<IHTMLElementCollection> all;
        if (FAILED(doc3_->getElementsByName(n.get(), all.put()))) return nullptr;
        return itemOf(all.get(), 0);
    }

    std::shared_ptr<PageElement> elementById(const Text& id) override {
        if (!doc3_) return nullptr;
        Bstr n(wideOfGbk(id));
        Com<IHTMLElement> e;
        if (FAILED(doc3_->getElementById(n.get(), e.put())) || !e) return nullptr;
        return std::make_shared<HtmlElement>(std::move(e));
    }

    std::vector<std::shared_ptr<PageElement>> links() override {
        std::vector<std::shared_ptr<PageElement>> out;
        if (!doc3_) return out;
        Bstr tag(L"a");
        Com<IHTMLElementCollection> anchors;
        if (FAILED(doc3_->getElementsByTagName(tag.get(), anchors.put())) || !anchors) return out;
        long length = 0;
        anchors->get_length(&length);
        for (long i = 0; i < length; ++i) out.push_back(itemOf(anchors.get(), i));
        return out;
    }

private:
    Com<IHTMLDocument2> doc_;
    Com<IHTMLDocument3> doc3_;
};

}  // namespace

HWND findBrowserWindow(HWND parent) {
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        if (isBrowserWindow(child)) return child;
        if (HWND inner = findBrowserWindow(child)) return inner;
    }
    return nullptr;
}

std::unique_ptr<PageDocument> documentFromWindow(HWND window) {
    if (!window) return nullptr;
    if (!isBrowserWindow(window)) {
        window = findBrowserWindow(window);
        if (!window) return nullptr;
    }
    const UINT message = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
    Com<IHTMLDocument2> doc;
    if (ObjectFromLresult(static_cast<LRESULT>(result), IID_IHTMLDocument2, 0, doc.putVoid()) != S_OK ||
        !doc)
        return nullptr;
    return std::make_unique<HtmlDocument>(std::move(doc));
}

}  // namespace lumiko::win32
