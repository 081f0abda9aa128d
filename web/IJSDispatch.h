// What a page can ask of the window that shows it. A window that gives its page a window.external object
// derives from this as its second base and overrides the callbacks it serves; the rest do nothing.
// Text arrives by value: each callback owns its copy, whatever the page or the bridge does next.
#pragma once

#include <string>

class IJSDispatch {
public:
    virtual void OnShowBindBtn() {}
    virtual void OnApiSuccess() {}
    virtual void OnUnnamedApi() {}
    virtual void OnOpenGameWindowNew(std::wstring /*strGameUrl*/,
                                     std::wstring /*strSecond*/,
                                     std::wstring /*strZoneName*/,
                                     int /*nFlag*/) {}
    virtual void OnReservedPair(std::wstring /*strFirst*/, std::wstring /*strSecond*/) {}
    virtual void OnOpenGame(std::wstring /*strValue*/) {}
    virtual void OnAccountRegisterSuccess(std::wstring /*strValue*/) {}
    virtual void OnCloseBindPage(std::wstring /*strValue*/) {}
    virtual void OnAccountBindSuccess(std::wstring /*strValue*/) {}
    virtual void OnOpenBindPage(std::wstring /*strValue*/) {}
    virtual void OnReservedText(std::wstring /*strValue*/) {}
    virtual void OnShowIM(std::wstring /*strValue*/) {}
    virtual void OnApiClose() {}
    virtual void OnDialogBoxTopInfo(std::wstring /*strValue*/) {}
    virtual void OnOpenPay(std::wstring /*strValue*/) {}
    virtual void OnClosedBox() {}

protected:
    // Windows are deleted as windows, never through this interface.
    ~IJSDispatch() = default;
};
