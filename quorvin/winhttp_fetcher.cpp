#include "quorvin/winhttp_fetcher.h"

#include <string>

#include "resources/version.h"

namespace {

using Outcome = FetchResult::Outcome;

// Closes a WinHTTP handle when it goes out of scope.
struct HandleCloser {
  HINTERNET handle;
  ~HandleCloser() {
    if (handle) ::WinHttpCloseHandle(handle);
  }
};

Outcome OutcomeOfError(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return Outcome::kCannotConnect;
    // Wine reports the socket's own error for a wait that ran out.
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:
      return Outcome::kTimedOut;
    case ERROR_WINHTTP_REDIRECT_FAILED:
      return Outcome::kRedirectLoop;
    default:
      return Outcome::kFailed;
  }
}

// Services ask that programs name themselves.
std::wstring UserAgent() {
  const std::string version = OSTREL_VERSION_TEXT;
  return L"Quorvin/" + std::wstring(version.begin(), version.end());
}

}  // namespace

WinHttpFetcher::WinHttpFetcher(int timeoutMs)
    : m_session(::WinHttpOpen(UserAgent().c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                              WINHTTP_NO_PROXY_BYPASS, 0)),
      m_timeoutMs(timeoutMs) {
  if (m_session) ::WinHttpSetTimeouts(m_session, timeoutMs, timeoutMs, timeoutMs, timeoutMs);
}

WinHttpFetcher::~WinHttpFetcher() {
  if (m_session) ::WinHttpCloseHandle(m_session);
}

void WinHttpFetcher::Track(HINTERNET request) {
  std::lock_guard lock(m_mutex);
  m_running.insert(request);
}

void WinHttpFetcher::CancelAll() {
  std::lock_guard lock(m_mutex);
  // Closing a request's handle makes the call waiting on it return at once.
  for (HINTERNET request : m_running) ::WinHttpCloseHandle(request);
  m_running.clear();
}

FetchResult WinHttpFetcher::Fetch(const std::string& url) {
  FetchResult result;
  if (!m_session) return result;
  const std::wstring wideUrl(url.begin(), url.end());  // templates are ASCII
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256], path[2048];
  parts.lpszHostName = host;
  parts.dwHostNameLength = std::size(host);
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = std::size(path);
  parts.dwExtraInfoLength = 1;
  if (!::WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts)) return result;
  std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);

  const HandleCloser connection{::WinHttpConnect(m_session, host, parts.nPort, 0)};
  if (!connection.handle) {
    result.outcome = OutcomeOfError(::GetLastError());
    return result;
  }
  HINTERNET request = ::WinHttpOpenRequest(connection.handle, L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
  if (!request) return result;
  Track(request);
  DWORD redirects = 5;
  ::WinHttpSetOption(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof redirects);
  // The wait for the answer's headers has a limit of its own (90 s by default, none in some
  // implementations): a server that accepts and never answers must not hold a thread.
  DWORD timeout = static_cast<DWORD>(m_timeoutMs);
  ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeout, sizeof timeout);

  auto finish = [&](Outcome outcome) {
    result.outcome = outcome;
    std::lock_guard lock(m_mutex);
    // CancelAll closed it already when it is no longer tracked.
    if (m_running.erase(request)) ::WinHttpCloseHandle(request);
    return result;
  };
  if (!::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !::WinHttpReceiveResponse(request, nullptr))
    return finish(OutcomeOfError(::GetLastError()));

  DWORD status = 0, size = sizeof status;
  ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                        &status, &size, WINHTTP_NO_HEADER_INDEX);
  result.httpStatus = static_cast<int>(status);
  if (status == 404) return finish(Outcome::kNotFound);
  if (status >= 300 && status < 400) return finish(Outcome::kRedirectLoop);
  if (status != 200) return finish(Outcome::kHttpError);
  DWORD announced = 0;
  size = sizeof announced;
  const bool hasLength =
      ::WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX);
  if (hasLength && announced > kMaxTileBytes) return finish(Outcome::kTooLarge);

  for (;;) {
    const std::size_t had = result.body.size();
    result.body.resize(had + 16384);
    DWORD read = 0;
    if (!::WinHttpReadData(request, result.body.data() + had, 16384, &read)) {
      result.body.resize(had);
      const DWORD error = ::GetLastError();
      return finish(OutcomeOfError(error) == Outcome::kTimedOut ? Outcome::kTimedOut : Outcome::kTruncated);
    }
    result.body.resize(had + read);
    if (read == 0) break;
    if (result.body.size() > kMaxTileBytes) return finish(Outcome::kTooLarge);
  }
  if (hasLength && result.body.size() != announced) return finish(Outcome::kTruncated);
  return finish(Outcome::kOk);
}
