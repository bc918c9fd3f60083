#include "platform/win32/padprotocol.h"

#include <windows.h>
#include <urlmon.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

#include "hwr/padservice.h"
#include "platform/win32/com.h"
#include "platform/win32/files.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

// {6F0C7A52-3B1D-4C8E-9A57-2D4E8B1C5F30}: names the protocol's class factory
// for the session; it is never written to the registry.
const CLSID kPadProtocolClass = {0x6f0c7a52, 0x3b1d, 0x4c8e, {0x9a, 0x57, 0x2d, 0x4e, 0x8b, 0x1c, 0x5f, 0x30}};

// Lives until exit, once registered: its own thread recognises, so the
// panel's thread (the browser control's) never waits for a recognition.
std::unique_ptr<hwr::PadService> service;

// One request. What needs no recognition is answered within Start; a
// recognition is answered when the service's thread has it: Switch carries
// the answer to the control's thread (Continue), which reports it there, as
// asynchronous protocols do.
class PadProtocol final : public IInternetProtocol {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IInternetProtocolRoot || iid == IID_IInternetProtocol) {
            *out = static_cast<IInternetProtocol*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }

    HRESULT STDMETHODCALLTYPE Start(LPCWSTR url, IInternetProtocolSink* sink, IInternetBindInfo*, DWORD,
                                    HANDLE_PTR) override {
        // "lumiko-pad:/PATH?QUERY"
        std::string address = utf8OfWide(url);
        const std::string prefix = hwr::kPadAddress;
        if (address.compare(0, prefix.size(), prefix) != 0) return INET_E_INVALID_URL;
        address.erase(0, prefix.size());
        const size_t q = address.find('?');
        const std::string path = address.substr(0, q);
        const std::string query = q == std::string::npos ? std::string() : address.substr(q + 1);
        sink->AddRef();
        sink_ = Com<IInternetProtocolSink>(sink);
        AddRef();  // for the answer, whichever thread it comes on
        service->request(path, query, [this](hwr::PadReply reply) { answered(std::move(reply)); });
        bool now;
        {
            std::lock_guard<std::mutex> hold(lock_);
            now = ready_;
            waiting_ = !ready_;
        }
        if (!now) return S_OK;  // Continue reports it
        const HRESULT hr = deliver(false);
        Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Continue(PROTOCOLDATA*) override {
        deliver(true);
        Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Abort(HRESULT, DWORD) override {
        std::lock_guard<std::mutex> hold(lock_);
        aborted_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Terminate(DWORD) override {
        std::lock_guard<std::mutex> hold(lock_);
        aborted_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Suspend() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        const size_t n = std::min<size_t>(size, body_.size() - offset_);
        std::memcpy(buffer, body_.data() + offset_, n);
        offset_ += n;
        if (read) *read = static_cast<ULONG>(n);
        return offset_ < body_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRequest(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UnlockRequest() override { return S_OK; }

private:
    // The service's answer, on any thread: kept, and carried to the
    // control's thread when Start has already returned.
    void answered(hwr::PadReply reply) {
        bool carry, dropped;
        {
            std::lock_guard<std::mutex> hold(lock_);
            reply_ = std::move(reply);
            ready_ = true;
            dropped = waiting_ && aborted_;
            carry = waiting_ && !aborted_;
        }
        if (carry) {
            // Switch hands `data_` to Continue on the control's thread.
            data_ = PROTOCOLDATA{PI_FORCE_ASYNC, 0, nullptr, 0};
            if (FAILED(sink_->Switch(&data_))) Release();
        } else if (dropped) {
            Release();  // the control gave up the request
        }
    }

    // Reports the answer through the sink; a failed start is the whole
    // report of a synchronous answer: the binding ends with it.
    HRESULT deliver(bool later) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (aborted_) return E_ABORT;
        }
        const hwr::PadReply& reply = reply_;
        if (!reply.refusal.empty()) OutputDebugStringA(("handwriting pad: request refused: " + reply.refusal + "\n").c_str());
        if (!reply.found) {
            if (later) sink_->ReportResult(INET_E_RESOURCE_NOT_FOUND, 0, nullptr);
            return INET_E_RESOURCE_NOT_FOUND;
        }
        body_ = reply.body;
        const std::wstring mime = wideOfUtf8(reply.mimeType);
        sink_->ReportProgress(BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, mime.c_str());
        const ULONG size = static_cast<ULONG>(body_.size());
        sink_->ReportData(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, size, size);
        sink_->ReportResult(S_OK, 0, nullptr);
        return S_OK;
    }

    std::atomic<ULONG> refs_{1};
    Com<IInternetProtocolSink> sink_;
    std::mutex lock_;
    hwr::PadReply reply_;
    bool ready_ = false;    // the service has answered
    bool waiting_ = false;  // Start returned before the answer came
    bool aborted_ = false;
    PROTOCOLDATA data_{};
    std::string body_;
    size_t offset_ = 0;
};

class PadProtocolFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static instance for the life of the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* p = new PadProtocol;
        const HRESULT hr = p->QueryInterface(iid, out);
        p->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

PadProtocolFactory factory;

}  // namespace

bool registerPadProtocol(const std::string& modelPath) {
    if (service) return true;
    Com<IInternetSession> session;
    if (FAILED(CoInternetGetSession(0, session.put(), 0)) || !session) return false;
    const std::wstring scheme = wideOfUtf8(hwr::kPadScheme);
    if (FAILED(session->RegisterNameSpace(&factory, kPadProtocolClass, scheme.c_str(), 0, nullptr, 0))) return false;
    service = std::make_unique<hwr::PadService>(modelPath, mapPadModel);
    return true;
}

std::string padModelBesideProgram() {
    std::wstring path(32768, L'\0');  // the longest path the system has
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const size_t slash = path.find_last_of(L"\\/");
    path.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return utf8OfWide(path) + "handwriting-zh_CN.model";
}

hwr::ModelBytes mapPadModel(const std::string& path, std::string& error) {
    const auto systemReason = [] { return utf8OfWide(systemMessage(GetLastError())); };
    hwr::ModelBytes bytes;
    const HANDLE file = CreateFileW(wideOfUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemReason();
        return bytes;
    }
    LARGE_INTEGER size{};
    const void* view = nullptr;
    if (!GetFileSizeEx(file, &size)) {
        error = systemReason();
    } else if (size.QuadPart == 0) {
        error = "the file is empty";
    } else if (const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
        // The view keeps the mapping and the file open.
        view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
        if (!view) error = systemReason();
        CloseHandle(mapping);
    } else {
        error = systemReason();
    }
    CloseHandle(file);
    if (view) {
        bytes.data = static_cast<const char*>(view);
        bytes.size = static_cast<size_t>(size.QuadPart);
        bytes.owner = std::shared_ptr<const void>(view, [](const void* v) { UnmapViewOfFile(v); });
    }
    return bytes;
}

}  // namespace lumiko::win32
