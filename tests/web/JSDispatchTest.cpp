// window.external as the page's script engine sees it: names looked up, members invoked with their arguments
// stored last to first, answers read from the result variant.
#include <gtest/gtest.h>

#include <dispex.h>

#include <vector>

#include "ScriptCaller.h"
#include "web/JSDispatch.h"
#include "win/Com.h"
#include "win/Str.h"

namespace {

using Calls = std::vector<Callback>;

const wchar_t kGameUrl[] = L"http://127.0.0.1:18182/game/play?sid=7&client=1";

class JSDispatchTest : public testing::Test {
protected:
    RecordingWindow m_window;
    CJSDispatch m_bridge{m_window};

    DISPID Id(const wchar_t* name) { return IdOfName(&m_bridge, name); }
    InvokeOutcome Call(DISPID id, ScriptArgs& args) { return CallMember(&m_bridge, id, args); }
};

TEST_F(JSDispatchTest, NamesAreLookedUpWithoutRegardToCase) {
    const struct {
        const wchar_t* name;
        HRESULT hr;
        DISPID id;
    } cases[] = {
        {L"API_jihuo", S_OK, 1000},
        {L"api_jihuo", S_OK, 1000},
        {L"API_JIHUO", S_OK, 1000},
        {L"aPI_JiHuO", S_OK, 1000},
        {L"API_success", S_OK, 1001},
        {L"api_success", S_OK, 1001},
        {L"API_SUCCESS", S_OK, 1001},
        {L"OpenGameWindowNew", S_OK, 1003},
        {L"opengamewindownew", S_OK, 1003},
        {L"OPENGAMEWINDOWNEW", S_OK, 1003},
        {L"WD_JAPI", S_OK, 1004},
        {L"wd_japi", S_OK, 1004},
        {L"Wd_jApI", S_OK, 1004},
        {L"API_close", S_OK, 1005},
        {L"api_close", S_OK, 1005},
        {L"API_CLOSE", S_OK, 1005},
        // Not members: nothing is written and the lookup fails.
        {L"", E_NOTIMPL, 0},
        {nullptr, E_NOTIMPL, 0},
        {L"1002", E_NOTIMPL, 0},
        {L"API_unnamed", E_NOTIMPL, 0},
        {L"WD_JAP", E_NOTIMPL, 0},
        {L"WD_JAPI2", E_NOTIMPL, 0},
        {L" WD_JAPI", E_NOTIMPL, 0},
        {L"API_close ", E_NOTIMPL, 0},
        {L"getApiVersion", E_NOTIMPL, 0},
        {L"OpenGame", E_NOTIMPL, 0},
        {L"toString", E_NOTIMPL, 0},
        {L"ＷＤ＿ＪＡＰＩ", E_NOTIMPL, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "name [" << (c.name ? ToUtf8(c.name) : "(null)") << "]");
        const DISPID kUntouched = 0x5EED;
        DISPID id = kUntouched;
        LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
        EXPECT_EQ(m_bridge.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), c.hr);
        EXPECT_EQ(id, c.hr == S_OK ? c.id : kUntouched);
    }
    EXPECT_TRUE(m_window.m_calls.empty());
}

TEST_F(JSDispatchTest, LookupChecksItsPointersAndRefusesNamedArguments) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"WD_JAPI"), const_cast<LPOLESTR>(L"value")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(m_bridge.GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, ids), E_INVALIDARG);
    EXPECT_EQ(m_bridge.GetIDsOfNames(IID_NULL, names, 0, LOCALE_USER_DEFAULT, ids), E_INVALIDARG);
    EXPECT_EQ(m_bridge.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, nullptr), E_INVALIDARG);
    EXPECT_EQ(ids[0], 0);

    // Only the first name is looked up; the slot of a named argument is not left unwritten.
    EXPECT_EQ(m_bridge.GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), S_OK);
    EXPECT_EQ(ids[0], 1004);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST_F(JSDispatchTest, EveryMemberReachesItsCallback) {
    const struct {
        const wchar_t* member;  // null: DISPID 1002, which has no name
        std::vector<const wchar_t*> args;
        Calls expected;
    } cases[] = {
        {L"API_jihuo", {}, {{L"OnShowBindBtn", {}}}},
        {L"api_jihuo", {L"ignored", L"too"}, {{L"OnShowBindBtn", {}}}},
        {L"API_success", {}, {{L"OnApiSuccess", {}}}},
        {nullptr, {L"ignored"}, {{L"OnUnnamedApi", {}}}},
        {L"API_close", {}, {{L"OnApiClose", {}}}},
        {L"api_CLOSE", {nullptr}, {{L"OnApiClose", {}}}},
        {L"OpenGameWindowNew",
         {kGameUrl, L"second", L"风云一区", L"fourth"},
         {{L"OnOpenGameWindowNew", {kGameUrl, L"second", L"风云一区", L"0"}}}},
        {L"opengamewindownew", {L"a", L"", L"c", L""}, {{L"OnOpenGameWindowNew", {L"a", L"", L"c", L"0"}}}},
        // Fewer or more arguments than the page should pass: read by their place in the page's call.
        {L"OpenGameWindowNew",
         {kGameUrl, L"second", L"zone"},
         {{L"OnOpenGameWindowNew", {kGameUrl, L"second", L"zone", L"0"}}}},
        {L"OpenGameWindowNew", {kGameUrl, L"second"}, {{L"OnOpenGameWindowNew", {kGameUrl, L"second", L"", L"0"}}}},
        {L"OpenGameWindowNew", {kGameUrl}, {{L"OnOpenGameWindowNew", {kGameUrl, L"", L"", L"0"}}}},
        {L"OpenGameWindowNew", {}, {{L"OnOpenGameWindowNew", {L"", L"", L"", L"0"}}}},
        {L"OpenGameWindowNew", {L"a", L"b", L"c", L"d", L"e"}, {{L"OnOpenGameWindowNew", {L"a", L"b", L"c", L"0"}}}},
        {L"OpenGameWindowNew", {nullptr, L"b", nullptr, L"d"}, {{L"OnOpenGameWindowNew", {L"", L"b", L"", L"0"}}}},
        {L"WD_JAPI", {L"OpenGame", L"u|s|z"}, {{L"OnOpenGame", {L"u|s|z"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "member [" << (c.member ? ToUtf8(c.member) : "1002") << "] with "
                                        << c.args.size() << " arguments");
        m_window.m_calls.clear();
        DISPID id = c.member ? Id(c.member) : DISPID(CJSDispatch::DISPID_UNNAMED_API);
        ScriptArgs args(c.args);
        InvokeOutcome outcome = Call(id, args);
        EXPECT_EQ(outcome.hr, S_OK);
        EXPECT_FALSE(outcome.hasText);
        EXPECT_EQ(m_window.m_calls, c.expected);
    }
}

TEST_F(JSDispatchTest, WdJapiCommands) {
    const struct {
        std::vector<const wchar_t*> args;
        Calls expected;
        const wchar_t* answer;  // null: the result variant stays empty
    } cases[] = {
        {{L"getApiVersion"}, {}, L"1"},
        {{L"getClientVersion"}, {}, L"1001"},
        {{L"getApiVersion", L"value"}, {}, L"1"},
        {{L"OpenGame", L"http://127.0.0.1/g|s1|一区"}, {{L"OnOpenGame", {L"http://127.0.0.1/g|s1|一区"}}}, nullptr},
        {{L"OpenGame"}, {{L"OnOpenGame", {L""}}}, nullptr},
        {{L"ShowBindBtn", L"value"}, {{L"OnShowBindBtn", {}}}, nullptr},
        {{L"OpenBindPage", L"value"}, {{L"OnOpenBindPage", {L"value"}}}, nullptr},
        {{L"CloseBindPage", L"value"}, {{L"OnCloseBindPage", {L"value"}}}, nullptr},
        {{L"AccountBindSuccess", L"value"}, {{L"OnAccountBindSuccess", {L"value"}}}, nullptr},
        {{L"AccountRegisterSuccess", L"1"}, {{L"OnAccountRegisterSuccess", {L"1"}}}, nullptr},
        {{L"ShowIM", L"uid|gid|fid"}, {{L"OnShowIM", {L"uid|gid|fid"}}}, nullptr},
        {{L"DialogBoxTopInfo", L"客服在线"}, {{L"OnDialogBoxTopInfo", {L"客服在线"}}}, nullptr},
        {{L"openPay", L"http://127.0.0.1/pay"}, {{L"OnOpenPay", {L"http://127.0.0.1/pay"}}}, nullptr},
        {{L"closedBox", L"value"}, {{L"OnClosedBox", {}}}, nullptr},
        // A keyword inside a longer name acts like the keyword; the first keyword in the table's order wins.
        {{L"OpenGameWindowNew", L"value"}, {{L"OnOpenGame", {L"value"}}}, nullptr},
        {{L"page.getApiVersion()"}, {}, L"1"},
        {{L"ShowIM+OpenGame", L"v"}, {{L"OnOpenGame", {L"v"}}}, nullptr},
        {{L"ShowIM getClientVersion", L"v"}, {}, L"1001"},
        {{L"closedBox,OpenBindPage", L"v"}, {{L"OnOpenBindPage", {L"v"}}}, nullptr},
        {{L"AccountRegisterSuccess/AccountBindSuccess", L"2"}, {{L"OnAccountBindSuccess", {L"2"}}}, nullptr},
        {{L"getClientVersion getApiVersion"}, {}, L"1"},
        // Keywords keep their letter case.
        {{L"getclientversion"}, {}, nullptr},
        {{L"GetApiVersion"}, {}, nullptr},
        {{L"opengame", L"v"}, {}, nullptr},
        {{L"SHOWIM", L"v"}, {}, nullptr},
        {{L"OpenPay", L"v"}, {}, nullptr},
        {{L"ClosedBox"}, {}, nullptr},
        {{L"unknown", L"v"}, {}, nullptr},
        {{L"", L"OpenGame"}, {}, nullptr},
        // Other argument counts: the last argument is the name and the value is empty.
        {{}, {}, nullptr},
        {{L"OpenGame", L"v", L"ShowIM"}, {{L"OnShowIM", {L""}}}, nullptr},
        {{L"getApiVersion", L"v", L"w"}, {}, nullptr},
        {{L"a", L"b", L"c", L"getClientVersion"}, {}, L"1001"},
        // A null BSTR is the empty string.
        {{nullptr, L"OpenGame"}, {}, nullptr},
        {{L"ShowIM", nullptr}, {{L"OnShowIM", {L""}}}, nullptr},
        {{nullptr}, {}, nullptr},
    };
    DISPID id = Id(L"WD_JAPI");
    ASSERT_EQ(id, CJSDispatch::DISPID_WD_JAPI);
    for (const auto& c : cases) {
        testing::Message trace;
        for (const wchar_t* arg : c.args)
            trace << "[" << (arg ? ToUtf8(arg) : "(null)") << "] ";
        SCOPED_TRACE(trace << "(" << c.args.size() << " arguments)");
        m_window.m_calls.clear();
        ScriptArgs args(c.args);
        InvokeOutcome outcome = Call(id, args);
        EXPECT_EQ(outcome.hr, S_OK);
        EXPECT_EQ(m_window.m_calls, c.expected);
        EXPECT_EQ(outcome.hasText, c.answer != nullptr);
        if (c.answer) {
            EXPECT_EQ(outcome.text, c.answer);
        }
    }
}

// The answers are new strings that the caller owns and frees; other commands leave the result alone.
TEST_F(JSDispatchTest, VersionAnswersBelongToTheCaller) {
    const struct {
        const wchar_t* command;
        const wchar_t* answer;
    } cases[] = {{L"getApiVersion", L"1"}, {L"getClientVersion", L"1001"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.command));
        VARIANT first, second;
        VariantInit(&first);
        VariantInit(&second);
        ScriptArgs args{c.command};
        ASSERT_EQ(m_bridge.Invoke(1004, IID_NULL, 0, DISPATCH_METHOD, args.Params(), &first, nullptr, nullptr), S_OK);
        ASSERT_EQ(m_bridge.Invoke(1004, IID_NULL, 0, DISPATCH_METHOD, args.Params(), &second, nullptr, nullptr), S_OK);
        ASSERT_EQ(V_VT(&first), VT_BSTR);
        ASSERT_EQ(V_VT(&second), VT_BSTR);
        EXPECT_NE(V_BSTR(&first), V_BSTR(&second));
        EXPECT_EQ(SysStringLen(V_BSTR(&first)), wcslen(c.answer));
        EXPECT_EQ(std::wstring(V_BSTR(&first)), c.answer);
        EXPECT_EQ(std::wstring(V_BSTR(&second)), c.answer);
        EXPECT_EQ(VariantClear(&first), S_OK);
        EXPECT_EQ(VariantClear(&second), S_OK);

        // Without a result variant the query is answered into nothing.
        EXPECT_EQ(m_bridge.Invoke(1004, IID_NULL, 0, DISPATCH_METHOD, args.Params(), nullptr, nullptr, nullptr), S_OK);
    }

    VARIANT untouched;
    V_VT(&untouched) = VT_I4;
    V_I4(&untouched) = 0x5EED;
    for (DISPID id = 1000; id <= 1006; ++id) {
        ScriptArgs args{L"OpenGame", L"v"};
        m_bridge.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, args.Params(), &untouched, nullptr, nullptr);
        EXPECT_EQ(V_VT(&untouched), VT_I4) << "DISPID " << id;
        EXPECT_EQ(V_I4(&untouched), 0x5EED) << "DISPID " << id;
    }
}

TEST_F(JSDispatchTest, OtherDispidsAreNotImplemented) {
    const DISPID cases[] = {0,
                            1,
                            999,
                            1006,
                            1100,
                            -1,
                            DISPID_VALUE,
                            DISPID_NEWENUM,
                            DISPID_PROPERTYPUT,
                            DISPID_UNKNOWN,
                            0x7FFFFFFF,
                            -0x7FFFFFFF - 1};
    for (DISPID id : cases) {
        ScriptArgs args{L"OpenGame", L"v"};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(m_bridge.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, args.Params(), &result, nullptr, nullptr),
                  E_NOTIMPL)
            << "DISPID " << id;
        EXPECT_EQ(V_VT(&result), VT_EMPTY) << "DISPID " << id;
    }
    EXPECT_TRUE(m_window.m_calls.empty());
}

// A call without a parameter block, or with a count but no arguments behind it, has no arguments.
TEST_F(JSDispatchTest, MissingParameterBlocksReadAsNoArguments) {
    const struct {
        DISPID id;
        Calls expected;
    } cases[] = {
        {1000, {{L"OnShowBindBtn", {}}}},
        {1001, {{L"OnApiSuccess", {}}}},
        {1002, {{L"OnUnnamedApi", {}}}},
        {1003, {{L"OnOpenGameWindowNew", {L"", L"", L"", L"0"}}}},
        {1004, {}},
        {1005, {{L"OnApiClose", {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "DISPID " << c.id);
        DISPPARAMS countOnly = {nullptr, nullptr, 4, 0};
        VARIANT result;
        VariantInit(&result);
        for (DISPPARAMS* params : {static_cast<DISPPARAMS*>(nullptr), &countOnly}) {
            m_window.m_calls.clear();
            EXPECT_EQ(m_bridge.Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, params, &result, nullptr, nullptr), S_OK);
            EXPECT_EQ(m_window.m_calls, c.expected);
            EXPECT_EQ(V_VT(&result), VT_EMPTY);
        }
    }
}

VARIANT Of(VARTYPE type) {
    VARIANT v = {};
    V_VT(&v) = type;
    return v;
}
VARIANT Int(LONG n) {
    VARIANT v = Of(VT_I4);
    V_I4(&v) = n;
    return v;
}
VARIANT Real(double d) {
    VARIANT v = Of(VT_R8);
    V_R8(&v) = d;
    return v;
}
VARIANT Bool(bool b) {
    VARIANT v = Of(VT_BOOL);
    V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
VARIANT Error(SCODE code) {
    VARIANT v = Of(VT_ERROR);
    V_ERROR(&v) = code;
    return v;
}
VARIANT Dispatch(IDispatch* object) {
    VARIANT v = Of(VT_DISPATCH);
    V_DISPATCH(&v) = object;
    if (object) object->AddRef();
    return v;
}
VARIANT Unknown(IUnknown* object) {
    VARIANT v = Of(VT_UNKNOWN);
    V_UNKNOWN(&v) = object;
    object->AddRef();
    return v;
}
VARIANT Ref(VARTYPE type, void* target) {
    VARIANT v = Of(type | VT_BYREF);
    V_BYREF(&v) = target;
    return v;
}
VARIANT Array() {
    VARIANT v = Of(VT_ARRAY | VT_BSTR);
    V_ARRAY(&v) = SafeArrayCreateVector(VT_BSTR, 0, 2);
    return v;
}
// A copy for one call, which clears it; types VariantCopy refuses own nothing and are copied as they are.
VARIANT CopyOf(VARIANT& original) {
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopy(&copy, &original))) copy = original;
    return copy;
}

// Arguments that are not strings are read as text where the system can convert them, else as empty.
TEST_F(JSDispatchTest, ArgumentsThatAreNotStringsAreConverted) {
    ComPtr<ValueObject> object(new ValueObject(L"the object's text"));
    ComPtr<ValueObject> circular(new ValueObject(L"", true));  // its value is itself
    BSTR text = SysAllocString(L"by reference");
    BSTR nullText = nullptr;
    VARIANT number = Int(77);
    IDispatch* nullObject = nullptr;
    struct {
        const char* what;
        VARIANT arg;
        const wchar_t* text;
    } cases[] = {
        {"int", Int(-42), L"-42"},
        {"double", Real(2.5), L"2.5"},
        {"true", Bool(true), L"True"},
        {"false", Bool(false), L"False"},
        {"null", Of(VT_NULL), L""},
        {"empty", Of(VT_EMPTY), L""},
        {"null BSTR", Of(VT_BSTR), L""},
        {"missing optional argument", Error(DISP_E_PARAMNOTFOUND), L""},
        {"object", Dispatch(object.Get()), L"the object's text"},
        {"object whose value is itself", Dispatch(circular.Get()), L""},
        {"null object", Dispatch(nullptr), L""},
        {"unknown", Unknown(object.Get()), L""},
        {"string by reference", Ref(VT_BSTR, &text), L"by reference"},
        {"null string by reference", Ref(VT_BSTR, &nullText), L""},
        {"variant by reference", Ref(VT_VARIANT, &number), L"77"},
        {"reference without target", Ref(VT_I4, nullptr), L""},
        {"null object by reference", Ref(VT_DISPATCH, &nullObject), L""},
        {"string array", Array(), L""},
        {"invalid type", Of(0x0FFF), L""},
    };
    DISPID japi = Id(L"WD_JAPI");
    DISPID open = Id(L"OpenGameWindowNew");
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_window.m_calls.clear();
        ScriptArgs japiArgs{L"OpenGame"};
        japiArgs.Add(CopyOf(c.arg));
        EXPECT_EQ(Call(japi, japiArgs).hr, S_OK);
        ScriptArgs openArgs;
        for (int i = 0; i < 4; ++i)
            openArgs.Add(CopyOf(c.arg));
        EXPECT_EQ(Call(open, openArgs).hr, S_OK);
        Calls expected = {{L"OnOpenGame", {c.text}}, {L"OnOpenGameWindowNew", {c.text, c.text, c.text, L"0"}}};
        EXPECT_EQ(m_window.m_calls, expected);
        VariantClear(&c.arg);
    }
    SysFreeString(text);
    // The objects were asked for their value once per argument read (OpenGameWindowNew leaves its fourth
    // alone), the circular one only once each time, and every reference came back.
    EXPECT_EQ(object->m_valueReads, 4);
    EXPECT_EQ(circular->m_valueReads, 4);
    EXPECT_EQ(object->RefCount(), 1);
    EXPECT_EQ(circular->RefCount(), 1);
}

TEST_F(JSDispatchTest, HasNoTypeInformation) {
    UINT count = 7;
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&count);
    EXPECT_EQ(m_bridge.GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(m_bridge.GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), E_NOTIMPL);
    EXPECT_EQ(count, 7u);
    EXPECT_EQ(info, reinterpret_cast<ITypeInfo*>(&count));
    EXPECT_EQ(m_bridge.GetTypeInfoCount(nullptr), E_NOTIMPL);
}

TEST_F(JSDispatchTest, QueryInterfaceGivesTheBridgeAsIDispatchOnly) {
    IUnknown* unknown = nullptr;
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(m_bridge.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    ASSERT_EQ(m_bridge.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDispatch*>(&m_bridge)));
    EXPECT_EQ(dispatch, static_cast<IDispatch*>(&m_bridge));
    EXPECT_EQ(dispatch->Release(), 1u);
    EXPECT_EQ(unknown->Release(), 0u);

    const IID* others[] = {&__uuidof(IDispatchEx), &IID_IClassFactory, &IID_NULL, &IID_IPersist};
    for (const IID* iid : others) {
        void* out = &unknown;
        EXPECT_EQ(m_bridge.QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(m_bridge.QueryInterface(IID_IDispatch, nullptr), E_INVALIDARG);
}

// The page's references come and go; the window's site deletes the bridge, and only then.
TEST(JSDispatch, ReleaseNeverDeletesTheBridge) {
    struct CountedBridge : CJSDispatch {
        CountedBridge(IJSDispatch& target, int* deleted) : CJSDispatch(target), m_deleted(deleted) {}
        ~CountedBridge() override { ++*m_deleted; }
        int* m_deleted;
    };
    RecordingWindow window;
    int deleted = 0;
    CJSDispatch* bridge = new CountedBridge(window, &deleted);
    EXPECT_EQ(bridge->AddRef(), 1u);
    EXPECT_EQ(bridge->AddRef(), 2u);
    EXPECT_EQ(bridge->Release(), 1u);
    EXPECT_EQ(bridge->Release(), 0u);
    bridge->Release();  // one more than the page took
    EXPECT_EQ(deleted, 0);

    ScriptArgs args{L"ShowIM", L"still here"};
    EXPECT_EQ(CallMember(bridge, 1004, args).hr, S_OK);
    EXPECT_EQ(window.m_calls, Calls({{L"OnShowIM", {L"still here"}}}));

    delete bridge;
    EXPECT_EQ(deleted, 1);
}

// A window that overrides nothing: every member and command does nothing, and says S_OK.
TEST(JSDispatch, DefaultCallbacksDoNothing) {
    struct QuietWindow : IJSDispatch {
    } window;
    CJSDispatch bridge(window);
    for (DISPID id = 1000; id <= 1005; ++id) {
        for (const wchar_t* command :
             {L"OpenGame", L"ShowBindBtn", L"OpenBindPage", L"CloseBindPage", L"AccountBindSuccess",
              L"AccountRegisterSuccess", L"ShowIM", L"DialogBoxTopInfo", L"openPay", L"closedBox"}) {
            ScriptArgs args{command, L"value", L"x", L"y"};
            EXPECT_EQ(CallMember(&bridge, id, args).hr, S_OK) << id;
            ScriptArgs pair{command, L"value"};
            EXPECT_EQ(CallMember(&bridge, id, pair).hr, S_OK) << id;
        }
    }
}

}  // namespace
