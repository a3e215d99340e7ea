#include "quorvin/web_tile_layer.h"

#include "framework/text_encoding.h"

namespace {

using Outcome = FetchResult::Outcome;

// Index writes are batched: a crash loses at most this many tiles' places in the order.
constexpr int kStoresPerIndexWrite = 32;
constexpr wchar_t kIndexFile[] = L"index.txt";
constexpr wchar_t kIndexLock[] = L"index.lock";

std::string ProblemText(const FetchResult& result) {
  switch (result.outcome) {
    case Outcome::kHttpError: return "タイルサーバーの応答: " + std::to_string(result.httpStatus);
    case Outcome::kTimedOut: return "タイルサーバーが応答しません";
    case Outcome::kTooLarge: return "タイルが大きすぎます";
    case Outcome::kTruncated: return "タイルが途中で切れました";
    case Outcome::kRedirectLoop: return "タイルの転送が多すぎます";
    case Outcome::kFailed: return "タイルを取得できません";
    default: return "";
  }
}

bool WriteWholeFile(const std::wstring& path, const void* data, std::size_t size) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ::CloseHandle(file);
  if (!ok) ::DeleteFileW(path.c_str());
  return ok;
}

// Written beside the target under a name of this thread's, then renamed over it: a reader
// (this helper or another) never sees half a file.
bool ReplaceFile(const std::wstring& path, const void* data, std::size_t size) {
  const std::wstring temporary = path + L"." + std::to_wstring(::GetCurrentThreadId()) + L".tmp";
  if (!WriteWholeFile(temporary, data, size)) return false;
  if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string text;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  ::CloseHandle(file);
  return text;
}

// Each folder of `path` (which ends in a file name) made when missing.
void MakeFoldersFor(const std::wstring& path) {
  for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
    ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}

// The index's lock: a file opened for this process alone, gone when closed. Another helper
// waits a little for it; when it cannot be had the index is left as it is this time.
class IndexLock {
 public:
  explicit IndexLock(const std::wstring& path) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      m_file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      if (m_file != INVALID_HANDLE_VALUE) return;
      ::Sleep(20);
    }
  }
  ~IndexLock() {
    if (Held()) ::CloseHandle(m_file);
  }
  IndexLock(const IndexLock&) = delete;
  IndexLock& operator=(const IndexLock&) = delete;
  bool Held() const { return m_file != INVALID_HANDLE_VALUE; }

 private:
  HANDLE m_file = INVALID_HANDLE_VALUE;
};

}  // namespace

WebTileLayer::WebTileLayer(const TileSource& source, TileFetcher& fetcher, const Clock& clock, HWND window,
                           UINT arrivalMessage, Settings settings)
    : m_source(source),
      m_fetcher(fetcher),
      m_clock(clock),
      m_window(window),
      m_arrivalMessage(arrivalMessage),
      m_folder(settings.cacheRoot + WidenText(source.cacheName) + L"\\"),
      m_queue(settings.queueCapacity),
      m_index(settings.capBytes) {
  MakeFoldersFor(m_folder + kIndexFile);
  ReadIndex();
  for (int i = 0; i < settings.fetchThreads; ++i) m_threads.emplace_back([this] { Work(); });
}

WebTileLayer::~WebTileLayer() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_fetcher.CancelAll();
  for (std::thread& thread : m_threads) thread.join();
  WriteIndex(true);
  for (const Arrival& arrival : m_arrivals) {
    if (arrival.bitmap) ::DeleteObject(arrival.bitmap);
  }
}

std::wstring WebTileLayer::TilePath(TileKey key) const {
  return m_folder + std::to_wstring(key.zoom) + L"\\" + std::to_wstring(key.x) + L"\\" + std::to_wstring(key.y);
}

void WebTileLayer::PrepareView(const TileRange& range) {
  const int across = 1 << range.zoom;
  const bool allColumns = range.lastX - range.firstX + 1 >= across;
  std::lock_guard lock(m_mutex);
  m_queue.Retain([&](TileKey key) {
    return key.zoom == range.zoom && key.y >= range.firstY && key.y <= range.lastY &&
           (allColumns || WrapColumn(key.x - range.firstX, range.zoom) <= range.lastX - range.firstX);
  });
}

HBITMAP WebTileLayer::Tile(TileKey key) {
  HBITMAP bitmap = nullptr;
  const bool kept = m_kept.Find(key, bitmap);
  {
    std::lock_guard lock(m_mutex);
    if (kept) {
      if (bitmap) m_index.Touch(key);
      return bitmap;
    }
    if (!m_queue.Push(key)) return nullptr;
  }
  m_wake.notify_one();
  return nullptr;
}

void WebTileLayer::Work() {
  for (;;) {
    TileKey key{};
    bool saving = false;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || m_queue.Waiting() > 0 || !m_saveQueue.empty(); });
      if (m_stopping) return;
      if (const std::optional<TileKey> next = m_queue.Pop()) {
        key = *next;
      } else {
        key = m_saveQueue.front();
        m_saveQueue.pop_front();
        saving = true;
      }
    }
    Serve(key, saving);
    if (!saving) {
      std::lock_guard lock(m_mutex);
      m_queue.Done(key);
    }
  }
}

void WebTileLayer::Serve(TileKey key, bool saving) {
  const CacheTime now = m_clock.Now();
  bool cached, stale;
  {
    std::lock_guard lock(m_mutex);
    cached = m_index.Find(key) != nullptr;
    stale = m_index.IsStale(key, now);
    if (saving && cached) m_index.Pin(key);
  }
  HBITMAP bitmap = nullptr;
  if (cached && !saving) {
    bitmap = DecodeTileFile(TilePath(key));
    if (!bitmap) {
      // Removed or damaged behind the index's back (another helper's cap, a user): fetch
      // it anew.
      std::lock_guard lock(m_mutex);
      m_index.Forget(key);
      cached = stale = false;
    }
  }
  bool couldNotConnect = false;
  if (!cached || stale) {
    bool mayTry;
    {
      std::lock_guard lock(m_mutex);
      // A closing layer starts no request its end would have to wait for.
      mayTry = !m_stopping && m_connection.TakeTry(now);
    }
    if (mayTry) {
      if (HBITMAP fresh = FetchAndStore(key, saving, couldNotConnect)) {
        if (bitmap) ::DeleteObject(bitmap);
        bitmap = fresh;
        cached = true;
      }
    } else {
      couldNotConnect = true;
    }
  }
  if (saving) {
    if (bitmap) ::DeleteObject(bitmap);
    {
      std::lock_guard lock(m_mutex);
      // A cancelled save set its total back to what was done; late answers count nowhere.
      if (m_saving.Running()) ++(cached ? m_saving.done : m_saving.failed);
    }
    Announce();
    return;
  }
  Deliver({key, bitmap, !bitmap && couldNotConnect});
}

HBITMAP WebTileLayer::FetchAndStore(TileKey key, bool saving, bool& couldNotConnect) {
  const FetchResult result = m_fetcher.Fetch(TileUrl(m_source.location, key));
  {
    std::lock_guard lock(m_mutex);
    if (result.outcome == Outcome::kCannotConnect) {
      m_connection.CouldNotConnect(m_clock.Now());
      couldNotConnect = true;
      return nullptr;
    }
    m_connection.Connected();
  }
  if (result.outcome != Outcome::kOk) {
    // A 404 is the service saying it has nothing there (the sea): not a fault.
    if (result.outcome != Outcome::kNotFound) SetProblem(ProblemText(result));
    return nullptr;
  }
  HBITMAP bitmap = DecodeTileBytes(result.body);
  if (!bitmap) {
    SetProblem("タイルサーバーの応答が画像ではありません");
    return nullptr;
  }
  const std::wstring path = TilePath(key);
  MakeFoldersFor(path);
  if (!ReplaceFile(path, result.body.data(), result.body.size())) {
    // Still drawn; only the cache goes without it.
    SetProblem("タイルのキャッシュに書き込めません");
    return saving ? (::DeleteObject(bitmap), nullptr) : bitmap;
  }
  std::vector<TileKey> dropped;
  bool writeIndex;
  {
    std::lock_guard lock(m_mutex);
    dropped = m_index.Store(key, result.body.size(), m_clock.Now(), saving);
    writeIndex = ++m_storesSinceWrite >= kStoresPerIndexWrite;
    if (writeIndex) m_storesSinceWrite = 0;
    if (m_problem == "タイルのキャッシュに書き込めません") m_problem.clear();
  }
  RemoveTiles(dropped);
  if (writeIndex) WriteIndex(true);
  return bitmap;
}

void WebTileLayer::SetProblem(std::string text) {
  std::lock_guard lock(m_mutex);
  m_problem = std::move(text);
}

void WebTileLayer::Deliver(Arrival arrival) {
  {
    std::lock_guard lock(m_mutex);
    m_arrivals.push_back(arrival);
  }
  Announce();
}

void WebTileLayer::Announce() {
  {
    // One message for whatever arrives before the window takes it.
    std::lock_guard lock(m_mutex);
    if (m_announced) return;
    m_announced = true;
  }
  ::PostMessageW(m_window, m_arrivalMessage, 0, 0);
}

bool WebTileLayer::TakeArrivals() {
  std::vector<Arrival> arrivals;
  bool online;
  {
    std::lock_guard lock(m_mutex);
    arrivals.swap(m_arrivals);
    m_announced = false;
    online = !m_connection.Offline();
  }
  // Back online: the squares left empty meanwhile are asked for again.
  if (online) RetryOffline();
  for (const Arrival& arrival : arrivals) {
    m_kept.Keep(arrival.key, arrival.bitmap);
    if (arrival.offlineGap) m_offlineGaps.insert(arrival.key.Packed());
  }
  return !arrivals.empty();
}

void WebTileLayer::RetryOffline() {
  for (const std::uint64_t packed : m_offlineGaps) m_kept.Forget(TileKey::Unpacked(packed));
  m_offlineGaps.clear();
}

bool WebTileLayer::Offline() const {
  std::lock_guard lock(m_mutex);
  return m_connection.Offline();
}

std::string WebTileLayer::Problem() const {
  std::lock_guard lock(m_mutex);
  return m_problem;
}

std::uint64_t WebTileLayer::CapBytes() const {
  std::lock_guard lock(m_mutex);
  return m_index.Cap();
}

std::uint64_t WebTileLayer::CachedBytes() const {
  std::lock_guard lock(m_mutex);
  return m_index.TotalBytes();
}

std::uint64_t WebTileLayer::SavedBytes() const {
  std::lock_guard lock(m_mutex);
  return m_index.SavedBytes();
}

std::uint64_t WebTileLayer::TypicalTileBytes() const {
  // A tile of the survey's standard map is about 20 kB; the cache's own mean once it has some.
  constexpr std::uint64_t kGuess = 20 * 1024;
  std::lock_guard lock(m_mutex);
  return m_index.Count() < 16 ? kGuess : static_cast<std::uint64_t>(m_index.AverageBytes());
}

void WebTileLayer::SetCap(std::uint64_t bytes) {
  std::vector<TileKey> dropped;
  {
    std::lock_guard lock(m_mutex);
    dropped = m_index.SetCap(bytes);
  }
  RemoveTiles(dropped);
  WriteIndex(true);
}

void WebTileLayer::EmptyCache() {
  std::vector<TileKey> dropped;
  {
    std::lock_guard lock(m_mutex);
    dropped = m_index.ForgetUnsaved();
  }
  RemoveTiles(dropped);
  // Not merged: the file's list is what was just emptied.
  WriteIndex(false);
  m_kept.Clear();
  m_offlineGaps.clear();
}

void WebTileLayer::RemoveTiles(const std::vector<TileKey>& keys) const {
  for (const TileKey& key : keys) ::DeleteFileW(TilePath(key).c_str());
}

void WebTileLayer::StartSaving(std::vector<TileKey> tiles) {
  {
    std::lock_guard lock(m_mutex);
    m_saveQueue.assign(tiles.begin(), tiles.end());
    m_saving = {tiles.size(), 0, 0};
  }
  m_wake.notify_all();
}

void WebTileLayer::CancelSaving() {
  std::lock_guard lock(m_mutex);
  m_saveQueue.clear();
  m_saving.total = m_saving.done + m_saving.failed;
}

WebTileLayer::SaveProgress WebTileLayer::Saving() const {
  std::lock_guard lock(m_mutex);
  return m_saving;
}

void WebTileLayer::ReadIndex() {
  const IndexLock lock(m_folder + kIndexLock);
  const std::string text = ReadWholeFile(m_folder + kIndexFile);
  std::vector<TileKey> dropped;
  {
    std::lock_guard guard(m_mutex);
    dropped = m_index.Parse(text);
  }
  RemoveTiles(dropped);
}

void WebTileLayer::WriteIndex(bool merge) {
  const IndexLock lock(m_folder + kIndexLock);
  if (!lock.Held()) return;
  std::vector<TileKey> dropped;
  std::string text;
  if (merge) {
    TileCacheIndex theirs(CapBytes());
    theirs.Parse(ReadWholeFile(m_folder + kIndexFile));
    std::lock_guard guard(m_mutex);
    dropped = m_index.Merge(theirs);
  }
  {
    std::lock_guard guard(m_mutex);
    text = m_index.Serialise();
  }
  RemoveTiles(dropped);
  ReplaceFile(m_folder + kIndexFile, text.data(), text.size());
}
