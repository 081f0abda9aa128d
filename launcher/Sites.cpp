// The pages the launcher's tabs open in the player's default browser.
#include "launcher/MainWnd.h"
#include "services/Hosts.h"

std::wstring HomeSiteUrl() {
    return std::wstring(kHomeHost) + L"/";
}

std::wstring PaySiteUrl() {
    return std::wstring(kPayHost) + L"/?g=vesk";
}

std::wstring ServiceSiteUrl() {
    return std::wstring(kWebHost) + L"/kefu/";
}

std::wstring ForumSiteUrl() {
    return std::wstring(kForumHost) + L"/forum.php?mod=forumdisplay&fid=184";
}
