#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <thread>
#include <vector>

#include "win/Com.h"
#include "win/ComObject.h"

namespace {

// An object with two interfaces, deleted by its last Release.
class TwoInterfaces : public ComObject<IOleWindow, IPersist> {
public:
    explicit TwoInterfaces(int* deleted) : m_deleted(deleted) {}
    ~TwoInterfaces() override { ++*m_deleted; }

    STDMETHODIMP GetWindow(HWND* hwnd) override {
        *hwnd = nullptr;
        return E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = CLSID_NULL;
        return S_OK;
    }
    LONG Count() const { return m_lRef; }

private:
    int* m_deleted;
};

// {6C1A8D2E-3F4B-4C5D-9E6F-708192A3B4C5}: an outgoing interface served by IDispatch, as event sinks do.
const IID kEventsIid = {0x6c1a8d2e, 0x3f4b, 0x4c5d, {0x9e, 0x6f, 0x70, 0x81, 0x92, 0xa3, 0xb4, 0xc5}};

// An object whose owner deletes it, answering for one more IID than it lists.
class OwnedSink : public OwnedComObject<IDispatch> {
public:
    explicit OwnedSink(int* deleted) : m_deleted(deleted) {}
    ~OwnedSink() override { ++*m_deleted; }

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
    LONG Count() const { return m_lRef; }

protected:
    IUnknown* QueryOther(REFIID riid) override {
        return IsEqualIID(riid, kEventsIid) ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    int* m_deleted;
};

TEST(ComObject, QueryInterfaceFollowsTheInterfaceList) {
    int deleted = 0;
    auto* object = new TwoInterfaces(&deleted);
    ComPtr<IOleWindow> holder(object);
    IUnknown* identity = static_cast<IOleWindow*>(object);
    const struct {
        const char* name;
        const IID* iid;
        HRESULT hr;
        void* pointer;
    } cases[] = {
        {"IUnknown", &IID_IUnknown, S_OK, identity},
        {"IOleWindow", &IID_IOleWindow, S_OK, static_cast<IOleWindow*>(object)},
        {"IPersist", &IID_IPersist, S_OK, static_cast<IPersist*>(object)},
        {"IDispatch", &IID_IDispatch, E_NOINTERFACE, nullptr},
        {"IPersistStream", &IID_IPersistStream, E_NOINTERFACE, nullptr},
        {"IID_NULL", &IID_NULL, E_NOINTERFACE, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LONG before = object->Count();
        void* out = &deleted;  // anything but null: a failed query must clear it
        EXPECT_EQ(object->QueryInterface(*c.iid, &out), c.hr);
        EXPECT_EQ(out, c.pointer);
        EXPECT_EQ(object->Count(), before + (c.hr == S_OK ? 1 : 0));
        if (out) static_cast<IUnknown*>(out)->Release();
    }

    // Every interface gives the same identity.
    ComPtr<IPersist> persist;
    ASSERT_EQ(holder.As(&persist), S_OK);
    ComPtr<IUnknown> fromPersist, fromWindow;
    ASSERT_EQ(persist.As(&fromPersist), S_OK);
    ASSERT_EQ(holder.As(&fromWindow), S_OK);
    EXPECT_EQ(fromPersist.Get(), fromWindow.Get());
    EXPECT_NE(static_cast<void*>(persist.Get()), static_cast<void*>(holder.Get()));

    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
}

TEST(ComObject, LastReleaseDeletesACountedObject) {
    int deleted = 0;
    auto* object = new TwoInterfaces(&deleted);
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(static_cast<IPersist*>(object)->AddRef(), 3u);  // one count for all interfaces
    EXPECT_EQ(static_cast<IPersist*>(object)->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(deleted, 1);
}

TEST(ComObject, AnOwnedObjectOutlivesItsCountAndAnswersForMoreIids) {
    int deleted = 0;
    auto* sink = new OwnedSink(&deleted);
    void* out = nullptr;
    ASSERT_EQ(sink->QueryInterface(kEventsIid, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDispatch*>(sink));
    ASSERT_EQ(sink->QueryInterface(IID_IDispatch, &out), S_OK);
    EXPECT_EQ(sink->Count(), 2);
    EXPECT_EQ(sink->Release(), 1u);
    EXPECT_EQ(sink->Release(), 0u);
    sink->Release();  // a caller that releases once too often
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(sink->Invoke(0, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr), S_OK);
    delete sink;
    EXPECT_EQ(deleted, 1);
}

TEST(ComObject, CountIsInterlocked) {
    int deleted = 0;
    auto* object = new TwoInterfaces(&deleted);
    object->AddRef();
    const int kThreads = 4, kRounds = 200000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([object] {
            for (int i = 0; i < kRounds; ++i)
                object->AddRef();
            for (int i = 0; i < kRounds; ++i)
                object->Release();
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(object->Count(), 1);
    EXPECT_EQ(deleted, 0);
    object->Release();
    EXPECT_EQ(deleted, 1);
}

}  // namespace
