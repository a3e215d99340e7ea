#include <winsock2.h>
#include <ws2tcpip.h>

#include "quorvin/tests/tile_server.h"

#include <algorithm>

#include <cstdio>

#include "framework/testing/bench_support.h"
#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "quorvin/tests/map_picture.h"

namespace {

void SendAll(SOCKET socket, const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const int sent = ::send(socket, bytes, static_cast<int>(std::min<std::size_t>(size, 65536)), 0);
    if (sent <= 0) return;
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

void SendHead(SOCKET socket, const std::string& status, const std::string& headers) {
  const std::string head = "HTTP/1.1 " + status + "\r\n" + headers + "Connection: close\r\n\r\n";
  SendAll(socket, head.data(), head.size());
}

void SendBody(SOCKET socket, const std::string& status, const std::string& type, const void* data, std::size_t size) {
  SendHead(socket, status, "Content-Type: " + type + "\r\nContent-Length: " + std::to_string(size) + "\r\n");
  SendAll(socket, data, size);
}

std::vector<unsigned char> SolidPng(COLORREF colour) {
  const TempDirectory folder;
  const std::string file = folder.File("tile.png");
  WriteSolidPng(WidenText(file), colour);
  return ReadFileBytes(file);
}

}  // namespace

TileServer::TileServer() : m_evenTile(SolidPng(kEvenTileColour)), m_oddTile(SolidPng(kOddTileColour)) {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  m_listener = listener;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(listener);
    m_listener = kNoSocket;
    return;
  }
  m_port = ntohs(address.sin_port);
  m_acceptor = std::thread([this] { Accept(); });
}

std::string TileServer::Template(const std::string& kind) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + "/" + kind + "/{z}/{x}/{y}";
}

void TileServer::Stop() {
  if (m_stopping.exchange(true)) return;
  if (m_listener != kNoSocket) ::closesocket(m_listener);
  if (m_acceptor.joinable()) m_acceptor.join();
  {
    std::lock_guard lock(m_mutex);
    for (Socket client : m_clients) ::shutdown(client, SD_BOTH);
  }
  for (std::thread& handler : m_handlers) handler.join();
  m_listener = kNoSocket;
  ::WSACleanup();
}

void TileServer::Accept() {
  for (;;) {
    const SOCKET client = ::accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::lock_guard lock(m_mutex);
    if (m_stopping) {
      ::closesocket(client);
      return;
    }
    m_clients.push_back(client);
    m_handlers.emplace_back([this, client] { Serve(client); });
  }
}

void TileServer::Serve(Socket client) {
  const int open = ++m_open;
  for (int most = m_mostAtOnce; open > most && !m_mostAtOnce.compare_exchange_weak(most, open);) {
  }
  ++m_requests;
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, got);
  }
  // "GET /kind/z/x/y HTTP/1.1"
  const std::size_t start = request.find(' ') + 1;
  const std::string path = request.substr(start, request.find(' ', start) - start);
  const std::string kind = path.substr(1, path.find('/', 1) - 1);
  int z = 0, x = 0, y = 0;
  std::sscanf(path.c_str() + kind.size() + 1, "/%d/%d/%d", &z, &x, &y);
  if (kind == "tile") {
    const std::vector<unsigned char>& png = (x + y) % 2 == 0 ? m_evenTile : m_oddTile;
    SendBody(client, "200 OK", "image/png", png.data(), png.size());
    double none = 0;
    m_firstTileSentAt.compare_exchange_strong(none, NowMilliseconds());
  } else if (kind == "missing") {
    SendBody(client, "404 Not Found", "text/plain", "none", 4);
  } else if (kind == "error") {
    SendBody(client, "500 Internal Server Error", "text/plain", "oops", 4);
  } else if (kind == "text") {
    SendBody(client, "200 OK", "text/html", "<html>maintenance</html>", 24);
  } else if (kind == "huge") {
    SendHead(client, "200 OK", "Content-Type: image/png\r\n");
    const std::vector<unsigned char> megabyte(1 << 20, 0x55);
    for (int i = 0; i < 10; ++i) SendAll(client, megabyte.data(), megabyte.size());
  } else if (kind == "cut") {
    SendHead(client, "200 OK", "Content-Type: image/png\r\nContent-Length: 5000\r\n");
    SendAll(client, m_evenTile.data(), 100);
  } else if (kind == "loop") {
    SendHead(client, "302 Found", "Location: " + path + "\r\nContent-Length: 0\r\n");
  } else if (kind == "silent") {
    while (::recv(client, buffer, sizeof buffer, 0) > 0) {
    }
  }
  ::shutdown(client, SD_SEND);
  --m_open;
  std::lock_guard lock(m_mutex);
  ::closesocket(client);
  std::erase(m_clients, client);
}
