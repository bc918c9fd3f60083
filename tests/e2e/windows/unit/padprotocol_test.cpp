// The handwriting pad's scheme under Wine: the process's URL monikers hand
// lumiko-pad: addresses to the panel, and what they read is what the pad
// service answers.
#include <gtest/gtest.h>
#include <windows.h>
#include <urlmon.h>

#include <cstring>
#include <string>

#include "hwr/padservice.h"
#include "platform/win32/com.h"
#include "platform/win32/padprotocol.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {
namespace {

// Collects what an asynchronous binding delivers, pulled as the browser
// control pulls a script.
class Collector final : public IBindStatusCallback {
public:
    std::string body;
    HRESULT result = E_PENDING;  // until the binding stops

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IBindStatusCallback ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT hr, LPCWSTR) override {
        result = hr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
        *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA | BINDF_NOWRITECACHE;
        const ULONG size = info->cbSize;
        std::memset(info, 0, size);
        info->cbSize = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override {
        if (medium->tymed != TYMED_ISTREAM) return S_OK;
        char buf[4096];
        ULONG got = 0;
        while (SUCCEEDED(medium->pstm->Read(buf, sizeof buf, &got)) && got > 0) body.append(buf, got);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }
};

// The whole answer to `address`, read through the system's URL monikers as
// the browser control reads it (asynchronously, pulling the data); the
// binding's result. Wine's blocking streams (URLOpenBlockingStream) deliver
// only what a protocol leaves in a cache file, which the pad's answers never
// are.
HRESULT readThroughUrlMoniker(const std::wstring& address, std::string& body) {
    Collector collector;
    Com<IMoniker> moniker;
    Com<IBindCtx> context;
    HRESULT hr = CreateURLMonikerEx(nullptr, address.c_str(), moniker.put(), URL_MK_UNIFORM);
    if (SUCCEEDED(hr)) hr = CreateAsyncBindCtx(0, &collector, nullptr, context.put());
    if (FAILED(hr)) return hr;
    Com<IStream> stream;
    hr = moniker->BindToStorage(context.get(), nullptr, IID_IStream, stream.putVoid());
    // The answer comes through the thread's messages, like the control's.
    for (const DWORD until = GetTickCount() + 10000; SUCCEEDED(hr) && collector.result == E_PENDING &&
                                                      static_cast<LONG>(until - GetTickCount()) > 0;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    body = collector.body;
    return FAILED(hr) ? hr : collector.result;
}

class PadProtocol : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(registerPadProtocol(LUMIKO_HWR_MODEL));
    }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(PadProtocol, AnswersAsThePadServiceDoes) {
    hwr::Recogniser local(LUMIKO_HWR_MODEL);
    struct Case {
        const char* path;
        const char* query;
    } cases[] = {
        {"pad.js", ""},
        // 十: a stroke across and one down.
        {"recognise", "n=7&s=%5B%5B100%2C500%2C900%2C500%5D%2C%5B500%2C100%2C500%2C900%5D%5D"},
        {"recognise", "n=8&s=[[100,500,900,500]]"},
        // Refusals are answers too: the page is told why.
        {"recognise", "n=9&s=%5B%5BNaN%5D%5D"},
        {"recognise", "n=10&s=not-json"},
    };
    for (const Case& c : cases) {
        const hwr::PadReply want = hwr::handlePadRequest(c.path, c.query, local);
        ASSERT_TRUE(want.found) << c.path;
        std::string address = std::string(hwr::kPadAddress) + c.path + (*c.query ? "?" : "") + c.query;
        std::string got;
        const HRESULT hr = readThroughUrlMoniker(std::wstring(address.begin(), address.end()), got);
        EXPECT_EQ(hr, S_OK) << address << ": 0x" << std::hex << hr;
        EXPECT_EQ(got, want.body) << address;
    }
    EXPECT_TRUE(local.loaded()) << "the recognitions above ran: " << local.error();
}

TEST_F(PadProtocol, AnAddressThatIsNotThereFailsTheLoad) {
    for (const wchar_t* address : {L"lumiko-pad:/nothing.js", L"lumiko-pad:/recognise?s=[[1,2]]"}) {
        std::string got;
        EXPECT_TRUE(FAILED(readThroughUrlMoniker(address, got))) << got;
        EXPECT_TRUE(got.empty());
    }
}

// The model in a folder whose name the system's code page cannot spell
// (Chinese and Korean together): zinnia's own opening goes through that code
// page and fails; mapped through the UTF-16 calls, it opens.
TEST(PadModel, OpensFromAFolderOutsideTheCodePage) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"lumiko \u624b\u5199\u6a21\u578b \ud55c\uae00";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring model = folder + L"\\handwriting-zh_CN.model";
    ASSERT_TRUE(CopyFileW(wideOfUtf8(LUMIKO_HWR_MODEL).c_str(), model.c_str(), FALSE));
    const std::wstring empty = folder + L"\\empty.model";
    CloseHandle(CreateFileW(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    BOOL lossy = FALSE;
    char narrow[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, model.c_str(), -1, narrow, sizeof narrow, nullptr, &lossy);
    ASSERT_TRUE(lossy) << "the code page " << GetACP() << " spells the folder: the test proves nothing";

    const hwr::Strokes ten = {{{100, 500}, {900, 500}}, {{500, 100}, {500, 900}}};
    const auto want = hwr::Recogniser(LUMIKO_HWR_MODEL).recognise(ten, 10);
    ASSERT_FALSE(want.empty());
    struct Case {
        std::string path;
        hwr::ModelReader reader;
        bool opens;
        const char* reason;  // part of the error when it does not open
    } cases[] = {
        {narrow, nullptr, false, ""},
        {utf8OfWide(model), mapPadModel, true, ""},
        {utf8OfWide(folder + L"\\missing.model"), mapPadModel, false, ""},
        {utf8OfWide(empty), mapPadModel, false, "the file is empty"},
    };
    for (const Case& c : cases) {
        hwr::Recogniser r(c.path, c.reader);
        const auto got = r.recognise(ten, 10);
        EXPECT_EQ(r.loaded(), c.opens) << c.path << ": " << r.error();
        if (c.opens) {
            EXPECT_EQ(got, want);
        } else {
            EXPECT_TRUE(got.empty());
            EXPECT_NE(r.error().find(c.path), std::string::npos) << r.error();
            EXPECT_NE(r.error().find(c.reason), std::string::npos) << r.error();
        }
    }
    DeleteFileW(model.c_str());
    DeleteFileW(empty.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace lumiko::win32
