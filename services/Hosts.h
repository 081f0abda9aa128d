// Base addresses of the platform's servers: scheme, host and, where needed, port, without a trailing "/".
// Callers append the path and query, for example kStatHost + L"/receive/micoclient?log=...".
//
// The default build (VESK_MOCK_PLATFORM=1) sends every platform request to the mock platform on loopback at
// the port given by VESK_MOCK_PORT, so tests and demo runs never leave the machine; the release build uses
// the production names. Both macros come from services/CMakeLists.txt to every target linking vesk_services.
#pragma once

#if !defined(VESK_MOCK_PLATFORM)
#error "VESK_MOCK_PLATFORM is undefined: link the target with vesk_services"
#endif

#if VESK_MOCK_PLATFORM

#define VESK_HOSTS_TEXT2(x) #x
#define VESK_HOSTS_TEXT(x) VESK_HOSTS_TEXT2(x)
#define VESK_MOCK_HOST "127.0.0.1:" VESK_HOSTS_TEXT(VESK_MOCK_PORT)
#define VESK_MOCK_BASE L"http://" VESK_MOCK_HOST

inline constexpr wchar_t kStatHost[] = VESK_MOCK_BASE;     // statistics log
inline constexpr wchar_t kWebHost[] = VESK_MOCK_BASE;      // platform web server: login, activation, heartbeat
inline constexpr wchar_t kPayHost[] = VESK_MOCK_BASE;      // pay server
inline constexpr wchar_t kForumHost[] = VESK_MOCK_BASE;    // forum
inline constexpr wchar_t kHomeHost[] = VESK_MOCK_BASE;     // the game's home site
inline constexpr wchar_t kServiceHost[] = VESK_MOCK_BASE;  // customer-service web site
// The customer-service server as the chat plug-in takes it: an 8-bit host name (here with the port).
inline constexpr char kServiceServerName[] = VESK_MOCK_HOST;

#else

inline constexpr wchar_t kStatHost[] = L"http://stat.kaltogames.com";
inline constexpr wchar_t kWebHost[] = L"http://www.kaltogames.com";
inline constexpr wchar_t kPayHost[] = L"http://pay.kaltogames.com";
inline constexpr wchar_t kForumHost[] = L"http://bbs.kaltogames.com";
inline constexpr wchar_t kHomeHost[] = L"http://vesk.kaltogames.com";
inline constexpr wchar_t kServiceHost[] = L"http://kf.kaltogames.com";
inline constexpr char kServiceServerName[] = "im.kaltogames.com";

#endif
