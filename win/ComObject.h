// IUnknown for every COM object of ours: an interlocked reference count and a QueryInterface driven by the list
// of interfaces the object implements. The object then writes only the methods of its own interfaces:
//
//     class CSite : public ComObject<IOleClientSite, IDocHostUIHandler> { ... };   // deleted by its last Release
//     class CBridge : public OwnedComObject<IDispatch> { ... };                    // deleted by its owner
//
// IUnknown answers with the first interface of the list; each listed interface answers for its own IID.
// An object that must answer for more IIDs (an outgoing events interface served by IDispatch, a base interface
// of a listed one) overrides QueryOther.
#pragma once

#include <windows.h>
#include <unknwn.h>

// Who ends the object's life: its last Release, or an owner that deletes it and ignores the count.
enum class ComLifetime { RefCounted, Owned };

template <ComLifetime Lifetime, class First, class... Rest>
class ComObjectBase : public First, public Rest... {
public:
    ComObjectBase() = default;
    ComObjectBase(const ComObjectBase&) = delete;
    ComObjectBase& operator=(const ComObjectBase&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_INVALIDARG;
        *ppv = nullptr;
        IUnknown* found = nullptr;
        if (IsEqualIID(riid, IID_IUnknown))
            found = static_cast<First*>(this);
        else if (!Find<First, Rest...>(riid, &found))
            found = QueryOther(riid);
        if (!found) return E_NOINTERFACE;
        found->AddRef();
        *ppv = found;
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_lRef)); }

    STDMETHODIMP_(ULONG) Release() override {
        LONG count = InterlockedDecrement(&m_lRef);
        if constexpr (Lifetime == ComLifetime::RefCounted) {
            if (count == 0) delete this;
        }
        return static_cast<ULONG>(count);
    }

    virtual ~ComObjectBase() = default;

protected:
    // Further IIDs this object answers for, as the interface pointer to hand out (not yet AddRef'd), or null.
    virtual IUnknown* QueryOther(REFIID) { return nullptr; }

    LONG m_lRef = 0;

private:
    template <class I, class... More>
    bool Find(REFIID riid, IUnknown** found) {
        if (IsEqualIID(riid, __uuidof(I))) {
            *found = static_cast<I*>(this);
            return true;
        }
        if constexpr (sizeof...(More) > 0) return Find<More...>(riid, found);
        return false;
    }
};

template <class... Interfaces>
using ComObject = ComObjectBase<ComLifetime::RefCounted, Interfaces...>;

// For objects whose owner deletes them: the count is kept for the callers' sake but never frees the object.
template <class... Interfaces>
using OwnedComObject = ComObjectBase<ComLifetime::Owned, Interfaces...>;
