#include "exchange/kmz.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

#include "exchange/kml.h"

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDosDate1980 = 0x21;  // 1980-01-01: the archive carries no time of its own
constexpr char kDocumentName[] = "doc.kml";

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// Little-endian numbers at an offset the caller has checked.
std::uint16_t Get16(std::string_view data, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
}

std::uint32_t Get32(std::string_view data, std::size_t at) {
  return Get16(data, at) | static_cast<std::uint32_t>(Get16(data, at + 2)) << 16;
}

std::uint32_t Crc32(std::string_view data) {
  uLong crc = crc32(0, nullptr, 0);
  for (std::size_t done = 0; done < data.size();) {
    const uInt chunk = static_cast<uInt>(std::min<std::size_t>(data.size() - done, 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + done), chunk);
    done += chunk;
  }
  return static_cast<std::uint32_t>(crc);
}

std::string Deflate(std::string_view data) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string packed(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

// Unpacks a raw deflate stream, refusing output beyond kMaxKmlBytes as soon as it is reached.
std::string Inflate(std::string_view packed, std::string& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return "the archive cannot be unpacked (zlib would not start)";
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  char buffer[65536];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
    if (out.size() > kMaxKmlBytes) {
      inflateEnd(&stream);
      return "its KML unpacks to more than " + std::to_string(kMaxKmlBytes >> 20) +
             " MiB, far beyond any set of points; it was not read";
    }
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) return "the archive is damaged: its KML does not unpack";
  return {};
}

bool IsTopLevelKml(std::string_view name) {
  if (name.find('/') != std::string_view::npos || name.size() < 4) return false;
  std::string extension(name.substr(name.size() - 4));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return extension == ".kml";
}

}  // namespace

std::string PackKmz(std::string_view kml) {
  const std::string packed = Deflate(kml);
  const std::uint32_t crc = Crc32(kml);
  const std::string_view name = kDocumentName;
  // The fields both headers share, from the version needed to the name's length.
  auto putEntry = [&](std::string& out) {
    Put16(out, 20);  // version needed: deflate
    Put16(out, 0);   // flags
    Put16(out, kDeflated);
    Put16(out, 0);  // time
    Put16(out, kDosDate1980);
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(packed.size()));
    Put32(out, static_cast<std::uint32_t>(kml.size()));
    Put16(out, static_cast<std::uint16_t>(name.size()));
    Put16(out, 0);  // extra field
  };
  std::string out;
  Put32(out, kLocalHeader);
  putEntry(out);
  out += name;
  out += packed;
  const std::size_t directory = out.size();
  Put32(out, kCentralHeader);
  Put16(out, 20);  // made by
  putEntry(out);
  Put16(out, 0);  // comment
  Put16(out, 0);  // disk
  Put16(out, 0);  // internal attributes
  Put32(out, 0);  // external attributes
  Put32(out, 0);  // the local header's offset
  out += name;
  const std::size_t directorySize = out.size() - directory;
  Put32(out, kEndOfDirectory);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, static_cast<std::uint32_t>(directorySize));
  Put32(out, static_cast<std::uint32_t>(directory));
  Put16(out, 0);  // comment
  return out;
}

std::string UnpackKmz(std::string_view zip, std::string& kml) {
  kml.clear();
  if (zip.empty()) return "the file is empty";
  // The end of the central directory: the last signature within the comment's reach of the end.
  std::size_t end = std::string_view::npos;
  if (zip.size() >= kEndOfDirectorySize) {
    const std::size_t lowest = zip.size() > kEndOfDirectorySize + 0xFFFF ? zip.size() - kEndOfDirectorySize - 0xFFFF : 0;
    for (std::size_t at = zip.size() - kEndOfDirectorySize + 1; at-- > lowest;) {
      if (Get32(zip, at) == kEndOfDirectory) {
        end = at;
        break;
      }
    }
  }
  if (end == std::string_view::npos) return "not a KMZ file: it is no zip archive";
  const std::size_t entries = Get16(zip, end + 10);
  const std::size_t directory = Get32(zip, end + 16);
  if (Get32(zip, end + 12) == 0xFFFFFFFF || directory == 0xFFFFFFFF) return "a ZIP64 archive, which is not read";
  // The entry to read: doc.kml, else the first .kml at the top.
  std::size_t chosen = std::string_view::npos;
  std::string chosenName;
  std::size_t at = directory;
  for (std::size_t i = 0; i < entries; ++i) {
    if (at > end || end - at < kCentralHeaderSize || Get32(zip, at) != kCentralHeader) {
      return "the archive is damaged: its directory does not read";
    }
    const std::size_t nameSize = Get16(zip, at + 28);
    const std::size_t size = kCentralHeaderSize + nameSize + Get16(zip, at + 30) + Get16(zip, at + 32);
    if (end - at < size) return "the archive is damaged: its directory does not read";
    const std::string_view name = zip.substr(at + kCentralHeaderSize, nameSize);
    if (name == kDocumentName || (chosen == std::string_view::npos && IsTopLevelKml(name))) {
      chosen = at;
      chosenName = name;
      if (name == kDocumentName) break;
    }
    at += size;
  }
  if (chosen == std::string_view::npos) return "the archive holds no KML document (doc.kml)";
  const std::string what = chosenName + ": ";
  const std::uint16_t flags = Get16(zip, chosen + 8);
  const std::uint16_t method = Get16(zip, chosen + 10);
  const std::uint32_t crc = Get32(zip, chosen + 16);
  const std::size_t packedSize = Get32(zip, chosen + 20);
  const std::size_t size = Get32(zip, chosen + 24);
  const std::size_t local = Get32(zip, chosen + 42);
  if (flags & 1) return what + "encrypted, which is not read";
  if (method != kStored && method != kDeflated) return what + "packed with a method other than deflate, which is not read";
  if (local > zip.size() || zip.size() - local < kLocalHeaderSize || Get32(zip, local) != kLocalHeader) {
    return "the archive is damaged: " + what + "no entry where the directory puts it";
  }
  const std::size_t data = local + kLocalHeaderSize + Get16(zip, local + 26) + Get16(zip, local + 28);
  if (data > zip.size() || zip.size() - data < packedSize) return "the archive is damaged: " + what + "cut short";
  const std::string_view packed = zip.substr(data, packedSize);
  if (method == kStored) {
    if (packedSize > kMaxKmlBytes) return what + "larger than " + std::to_string(kMaxKmlBytes >> 20) + " MiB; it was not read";
    kml.assign(packed);
  } else if (std::string error = Inflate(packed, kml); !error.empty()) {
    kml.clear();
    return what + error;
  }
  if (kml.size() != size || Crc32(kml) != crc) {
    kml.clear();
    return "the archive is damaged: " + what + "does not unpack to what its checksum says";
  }
  return {};
}

std::string WriteKmz(const std::vector<Waypoint>& points, int offsetMinutes) {
  return PackKmz(WriteKml(points, offsetMinutes));
}

ParsedWaypoints ReadKmz(std::string_view zip, int offsetMinutes) {
  std::string kml;
  if (std::string error = UnpackKmz(zip, kml); !error.empty()) {
    ParsedWaypoints result;
    result.error = std::move(error);
    return result;
  }
  ParsedWaypoints result = ReadKml(kml, offsetMinutes);
  if (!result.ok()) result.error = "the KML in the archive: " + result.error;
  return result;
}
