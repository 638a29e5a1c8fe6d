#include "tests/skin_data_win/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/WinSkinData.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> Bmp24(int width, int height,
                           const std::function<uint32_t(int x, int y)>& pixel) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutU32(out, 54 + stride * static_cast<uint32_t>(height));
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, 24);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    size_t written = 0;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixel(x, y);
      out.push_back(static_cast<uint8_t>(c >> 16));  // blue
      out.push_back(static_cast<uint8_t>(c >> 8));   // green
      out.push_back(static_cast<uint8_t>(c));        // red
      written += 3;
    }
    for (; written < stride; ++written) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> Bmp24(int width, int height, uint32_t colour) {
  return Bmp24(width, height, [colour](int, int) { return colour; });
}

std::vector<uint8_t> MakeSkinFile(const std::string& ini, std::vector<TSkinEntry> entries,
                                  int32_t version) {
  entries.insert(entries.begin(), TSkinEntry{"skin.ini", {ini.begin(), ini.end()}});
  TSkinArchiveOptions options;
  options.Version = version;
  return BuildSkinFile(entries, options);
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  static std::atomic<int> counter{0};
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"ptest_skin_" +
                            std::to_wstring(GetCurrentProcessId()) + L"_" +
                            std::to_wstring(counter++) + L"_" + Utf8ToWide(name);
  WriteFileBytes(WideToUtf8(path), bytes);
  return WideToNarrow(path);
}

MessageRecorder::MessageRecorder() {
  SetSkinMessageSink([this](const std::wstring& text) { messages.push_back(text); });
}

MessageRecorder::~MessageRecorder() { SetSkinMessageSink({}); }

TRecordingSkinManager& Recorder() {
  auto* recorder = dynamic_cast<TRecordingSkinManager*>(EnsureSkinManager());
  if (recorder == nullptr) {
    ADD_FAILURE() << "the skin manager is not the recording one";
    static TRecordingSkinManager spare;
    return spare;
  }
  return *recorder;
}

void ResetManager() { FreeSkinManager(); }

std::string BuildPath(const std::string& linuxPath) {
  std::string path = "\\\\?\\unix";
  for (const char c : linuxPath) path += c == '/' ? '\\' : c;
  return path;
}
