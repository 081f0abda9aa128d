// Randomly built calls of window.external: any DISPID, 0 to 6 arguments of mixed variant types, missing
// parameter blocks and result variants. Each call is checked against a model of what the page asked for, every
// object reference must come back, and every block the task allocator handed out must be freed again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include "ScriptCaller.h"
#include "web/JSDispatch.h"
#include "win/Com.h"
#include "win/ComObject.h"
#include "win/Str.h"

namespace {

using Calls = std::vector<Callback>;

// Watches the task allocator (BSTRs come from it): blocks handed out and not yet freed, and frees of blocks
// it never handed out.
class AllocationSpy : public ComObject<IMallocSpy> {
public:
    std::set<void*> m_live;
    int m_strayFrees = 0;

    STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T cb) override { return cb; }
    STDMETHODIMP_(void*) PostAlloc(void* p) override {
        if (p) m_live.insert(p);
        return p;
    }
    STDMETHODIMP_(void*) PreFree(void* p, BOOL spied) override {
        if (spied && p && !m_live.erase(p)) ++m_strayFrees;
        return p;
    }
    STDMETHODIMP_(void) PostFree(BOOL) override {}
    STDMETHODIMP_(SIZE_T) PreRealloc(void* p, SIZE_T cb, void** newRequest, BOOL spied) override {
        if (spied && p) m_live.erase(p);
        *newRequest = p;
        return cb;
    }
    STDMETHODIMP_(void*) PostRealloc(void* p, BOOL) override {
        if (p) m_live.insert(p);
        return p;
    }
    STDMETHODIMP_(void*) PreGetSize(void* p, BOOL) override { return p; }
    STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T cb, BOOL) override { return cb; }
    STDMETHODIMP_(void*) PreDidAlloc(void* p, BOOL) override { return p; }
    STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    STDMETHODIMP_(void) PreHeapMinimize() override {}
    STDMETHODIMP_(void) PostHeapMinimize() override {}
};

// What a page can write: the twelve command keywords first, then member names, keywords in the wrong case,
// separators, Chinese text, lone surrogates and other odd characters.
const wchar_t* const kPieces[] = {
    L"getApiVersion",
    L"OpenGame",
    L"ShowBindBtn",
    L"OpenBindPage",
    L"CloseBindPage",
    L"AccountBindSuccess",
    L"AccountRegisterSuccess",
    L"getClientVersion",
    L"ShowIM",
    L"DialogBoxTopInfo",
    L"openPay",
    L"closedBox",
    L"opengame",
    L"GETAPIVERSION",
    L"WD_JAPI",
    L"API_close",
    L"|",
    L"||",
    L"1",
    L"2",
    L" ",
    L"风云一区",
    L"http://127.0.0.1/g?client=1",
    L"\xD800",
    L"\xDFFF",
    L"%s%n",
    L"\x0001",
    L"\xFFFF",
};

// The model: WD_JAPI's name and value from the arguments, then the first keyword found in the name.
const struct {
    const wchar_t* keyword;
    const wchar_t* callback;  // null for the two questions
    bool takesValue;
    const wchar_t* answer;
} kModel[] = {
    {L"getApiVersion", nullptr, false, L"1"},
    {L"OpenGame", L"OnOpenGame", true, nullptr},
    {L"ShowBindBtn", L"OnShowBindBtn", false, nullptr},
    {L"OpenBindPage", L"OnOpenBindPage", true, nullptr},
    {L"CloseBindPage", L"OnCloseBindPage", true, nullptr},
    {L"AccountBindSuccess", L"OnAccountBindSuccess", true, nullptr},
    {L"AccountRegisterSuccess", L"OnAccountRegisterSuccess", true, nullptr},
    {L"getClientVersion", nullptr, false, L"1001"},
    {L"ShowIM", L"OnShowIM", true, nullptr},
    {L"DialogBoxTopInfo", L"OnDialogBoxTopInfo", true, nullptr},
    {L"openPay", L"OnOpenPay", true, nullptr},
    {L"closedBox", L"OnClosedBox", false, nullptr},
};

struct Expected {
    HRESULT hr = S_OK;
    Calls calls;
    const wchar_t* answer = nullptr;
};

Expected Model(DISPID id, const std::vector<std::wstring>& texts) {
    Expected e;
    auto text = [&](size_t i) { return i < texts.size() ? texts[i] : std::wstring(); };
    switch (id) {
        case 1000: e.calls = {{L"OnShowBindBtn", {}}}; break;
        case 1001: e.calls = {{L"OnApiSuccess", {}}}; break;
        case 1002: e.calls = {{L"OnUnnamedApi", {}}}; break;
        case 1003: e.calls = {{L"OnOpenGameWindowNew", {text(0), text(1), text(2), L"0"}}}; break;
        case 1005: e.calls = {{L"OnApiClose", {}}}; break;
        case 1004: {
            std::wstring name = texts.size() == 2 ? texts[0] : texts.empty() ? L"" : texts.back();
            std::wstring value = texts.size() == 2 ? texts[1] : L"";
            for (const auto& m : kModel) {
                if (name.find(m.keyword) == std::wstring::npos) continue;
                if (m.answer)
                    e.answer = m.answer;
                else
                    e.calls = {
                        {m.callback, m.takesValue ? std::vector<std::wstring>{value} : std::vector<std::wstring>{}}};
                break;
            }
            break;
        }
        default: e.hr = E_NOTIMPL;
    }
    return e;
}

class Fuzzer {
public:
    explicit Fuzzer(uint32_t seed) : m_rng(seed) {}
    ~Fuzzer() { FreeTargets(); }

    uint32_t Next(uint32_t n) { return static_cast<uint32_t>(m_rng() % n); }

    std::wstring RandomText() {
        std::wstring text;
        for (uint32_t n = Next(4); n > 0; --n) {
            if (Next(8) == 0)
                text += wchar_t(Next(0x10000));
            else if (Next(16) == 0)
                text += L'\0';
            else
                text += kPieces[Next(static_cast<uint32_t>(std::size(kPieces)))];
        }
        if (Next(50) == 0) text += std::wstring(Next(3000), L'x');
        return text;
    }

    DISPID RandomDispid() {
        uint32_t pick = Next(10);
        if (pick < 8) return static_cast<DISPID>(1000 + Next(6));
        if (pick == 8) return static_cast<DISPID>(995 + Next(16));
        return static_cast<DISPID>(m_rng());
    }

    std::wstring AddTextArg(ScriptArgs& args, const std::wstring& text) {
        VARIANT v = {};
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        args.Add(v);
        return text;
    }

    // Adds one argument of a random type to the call and returns the text the bridge must read from it.
    std::wstring AddRandomArg(ScriptArgs& args,
                              IDispatch* object,
                              const std::wstring& objectText,
                              IDispatch* circular) {
        VARIANT v = {};  // the union zeroed too: the bridge must not read it for types that have no value
        std::wstring text;
        switch (Next(18)) {
            case 0:
            case 1:
            case 2:
            case 3: return AddTextArg(args, RandomText());
            case 4: V_VT(&v) = VT_BSTR; break;
            case 5: {
                int n = static_cast<int>(m_rng());
                V_VT(&v) = VT_I4;
                V_I4(&v) = n;
                text = std::to_wstring(n);
                break;
            }
            case 6: {
                const struct {
                    double value;
                    const wchar_t* text;
                } reals[] = {{0.5, L"0.5"}, {-2.25, L"-2.25"}, {1024.0, L"1024"}, {0.0, L"0"}};
                const auto& r = reals[Next(4)];
                V_VT(&v) = VT_R8;
                V_R8(&v) = r.value;
                text = r.text;
                break;
            }
            case 7: {
                bool b = Next(2);
                V_VT(&v) = VT_BOOL;
                V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
                text = b ? L"True" : L"False";
                break;
            }
            case 8: V_VT(&v) = Next(2) ? VT_NULL : VT_EMPTY; break;
            case 9:
                V_VT(&v) = VT_ERROR;
                V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
                break;
            case 10:
                V_VT(&v) = VT_DISPATCH;
                V_DISPATCH(&v) = object;
                object->AddRef();
                text = objectText;
                break;
            case 11:
                V_VT(&v) = VT_DISPATCH;
                V_DISPATCH(&v) = Next(2) ? circular : nullptr;
                if (V_DISPATCH(&v)) circular->AddRef();
                break;
            case 12:
                V_VT(&v) = VT_UNKNOWN;
                V_UNKNOWN(&v) = object;
                object->AddRef();
                break;
            case 13: {
                text = RandomText();
                m_bstrTargets.push_back(Next(8) ? SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))
                                                : nullptr);
                if (!m_bstrTargets.back()) text.clear();
                V_VT(&v) = VT_BSTR | VT_BYREF;
                V_BSTRREF(&v) = &m_bstrTargets.back();
                break;
            }
            case 14: {
                VARIANT target;
                VariantInit(&target);
                text = RandomText();
                V_VT(&target) = VT_BSTR;
                V_BSTR(&target) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
                m_variantTargets.push_back(target);
                V_VT(&v) = VT_VARIANT | VT_BYREF;
                V_VARIANTREF(&v) = &m_variantTargets.back();
                break;
            }
            case 15: V_VT(&v) = static_cast<VARTYPE>((Next(2) ? VT_I4 : VT_BSTR) | VT_BYREF); break;
            case 16: V_VT(&v) = static_cast<VARTYPE>(0x0100 + Next(0x0E00)); break;  // no such type
            default:
                V_VT(&v) = VT_ARRAY | VT_BSTR;
                V_ARRAY(&v) = SafeArrayCreateVector(VT_BSTR, 0, Next(3));
                break;
        }
        args.Add(v);
        return text;
    }

    // The targets of by-reference arguments outlive the call and are freed after it.
    void FreeTargets() {
        for (BSTR b : m_bstrTargets)
            SysFreeString(b);
        for (VARIANT& v : m_variantTargets)
            VariantClear(&v);
        m_bstrTargets.clear();
        m_variantTargets.clear();
    }

private:
    std::mt19937 m_rng;
    std::deque<BSTR> m_bstrTargets;  // a deque keeps the addresses handed out
    std::deque<VARIANT> m_variantTargets;
};

uint32_t Seed() {
    const char* text = std::getenv("VESK_FUZZ_SEED");
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 20240611u;
}

TEST(JSDispatchFuzz, RandomCallsNeverCrashOrMisread) {
    const uint32_t seed = Seed();
    const int kCalls = 12000;
    std::cout << "fuzz seed " << seed << " (set VESK_FUZZ_SEED to repeat another), " << kCalls << " calls\n";
    RecordProperty("seed", static_cast<int>(seed));

    // Without the BSTR cache every string goes back to the task allocator at once, so the spy sees leaks.
    using SetOaNoCacheFn = void(WINAPI*)();
    auto setOaNoCache =
        reinterpret_cast<SetOaNoCacheFn>(GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), "SetOaNoCache"));
    ASSERT_NE(setOaNoCache, nullptr);
    setOaNoCache();
    ComPtr<AllocationSpy> spy(new AllocationSpy);
    ASSERT_EQ(CoRegisterMallocSpy(spy.Get()), S_OK);
    struct Revoke {
        ~Revoke() { CoRevokeMallocSpy(); }
    } revoke;
    {
        // The spy must see BSTRs, or it would prove nothing below.
        BSTR probe = SysAllocString(L"probe");
        EXPECT_EQ(spy->m_live.size(), 1u);
        SysFreeString(probe);
        EXPECT_EQ(spy->m_live.size(), 0u);
    }

    RecordingWindow window;
    CJSDispatch bridge(window);
    const std::wstring objectText = L"对象的值";
    ComPtr<ValueObject> object(new ValueObject(objectText));
    ComPtr<ValueObject> circular(new ValueObject(L"", true));

    Fuzzer fuzz(seed);
    std::map<std::wstring, int> reached;  // callbacks and answers, to show the run went everywhere
    for (int i = 0; i < kCalls && !testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE(testing::Message() << "call " << i << " of seed " << seed);
        DISPID id = fuzz.RandomDispid();
        window.m_calls.clear();
        std::vector<std::wstring> texts;
        Expected expected;
        HRESULT hr;
        VARIANT result;
        V_VT(&result) = VT_I4;
        V_I4(&result) = 0x5EED;
        bool withResult = fuzz.Next(10) != 0;
        {
            ScriptArgs args;
            uint32_t count = fuzz.Next(7);
            // Half the WD_JAPI calls look like a page's: a text name with a keyword in it, then maybe a value.
            if (id == CJSDispatch::DISPID_WD_JAPI && fuzz.Next(2)) {
                std::wstring name = fuzz.RandomText() + kPieces[fuzz.Next(12)] + fuzz.RandomText();
                texts.push_back(fuzz.AddTextArg(args, name));
                count = fuzz.Next(2);
            }
            for (uint32_t n = 0; n < count; ++n)
                texts.push_back(fuzz.AddRandomArg(args, object.Get(), objectText, circular.Get()));
            DISPPARAMS* params = args.Params();
            uint32_t shape = fuzz.Next(40);
            if (shape == 0) {
                params = nullptr;
                texts.clear();
            } else if (shape == 1) {
                params->rgvarg = nullptr;  // a count with nothing behind it
                texts.clear();
            }
            expected = Model(id, texts);
            hr = bridge.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, static_cast<WORD>(1 + fuzz.Next(2)), params,
                               withResult ? &result : nullptr, nullptr, nullptr);
        }
        fuzz.FreeTargets();

        EXPECT_EQ(hr, expected.hr);
        EXPECT_EQ(window.m_calls, expected.calls);
        for (const Callback& call : window.m_calls)
            ++reached[call.name];
        if (expected.answer) ++reached[expected.answer];
        if (expected.answer && withResult) {
            ASSERT_EQ(V_VT(&result), VT_BSTR);
            ASSERT_NE(V_BSTR(&result), nullptr);
            EXPECT_EQ(SysStringLen(V_BSTR(&result)), wcslen(V_BSTR(&result)));
            EXPECT_EQ(std::wstring(V_BSTR(&result)), expected.answer);
            VariantClear(&result);
        } else {
            EXPECT_EQ(V_VT(&result), VT_I4);
            EXPECT_EQ(V_I4(&result), 0x5EED);
        }
        EXPECT_EQ(object->RefCount(), 1);
        EXPECT_EQ(circular->RefCount(), 1);

        // Now and then a name lookup: a member name in random letter case, or random text.
        if (fuzz.Next(4) == 0) {
            const wchar_t* names[] = {L"API_jihuo", L"API_success", L"OpenGameWindowNew", L"WD_JAPI", L"API_close"};
            const DISPID ids[] = {1000, 1001, 1003, 1004, 1005};
            std::wstring name = fuzz.Next(2) ? names[fuzz.Next(5)] : fuzz.RandomText();
            for (wchar_t& ch : name)
                ch = fuzz.Next(2) ? towupper(ch) : towlower(ch);
            DISPID expectedId = DISPID_UNKNOWN;  // the lookup sees the name up to its first zero
            for (size_t k = 0; k < std::size(names); ++k)
                if (_wcsicmp(name.c_str(), names[k]) == 0) expectedId = ids[k];
            EXPECT_EQ(IdOfName(&bridge, name.c_str()), expectedId) << ToUtf8(name);
        }
    }

    object.Reset();
    circular.Reset();
    std::cout << "reached:";
    for (const auto& [name, count] : reached)
        std::cout << " " << ToUtf8(name) << " " << count;
    std::cout << "\n";
    EXPECT_EQ(reached.size(), 16u) << "the 14 callbacks a page can reach and the two answers";
    EXPECT_EQ(spy->m_live.size(), 0u) << "blocks of the task allocator never freed";
    EXPECT_EQ(spy->m_strayFrees, 0) << "frees of blocks the task allocator did not hand out";
}

}  // namespace
