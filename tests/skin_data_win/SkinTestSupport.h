// Helpers of the skin data tests: synthetic bitmaps and skin files, a recorder for the
// skin component's messages, and access to the recording skin manager.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/data/SkinArchiveWriter.h"
#include "skin/data/SkinManagerLink.h"

// A 24-bit bitmap file of width x height; pixel(x, y) gives 0x00BBGGRR.
std::vector<uint8_t> Bmp24(int width, int height,
                           const std::function<uint32_t(int x, int y)>& pixel);
// One colour all over.
std::vector<uint8_t> Bmp24(int width, int height, uint32_t colour);

// A skin file of the INI text (entry "skin.ini") and the given entries.
std::vector<uint8_t> MakeSkinFile(const std::string& ini, std::vector<TSkinEntry> entries = {},
                                  int32_t version = 20000);

// Writes bytes to a fresh file in the temporary folder; returns its path as the skin
// component takes it (ANSI code page).
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);

// Catches the skin component's messages while it lives (no message box).
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  std::vector<std::wstring> messages;
};

// The process's manager as the recording one (made when absent); fails the test when
// another kind of manager is installed.
TRecordingSkinManager& Recorder();
// Forgets the manager (the next skin component makes a new one).
void ResetManager();

// The path of a file of the build (a Linux path) as Wine programs open it.
std::string BuildPath(const std::string& linuxPath);
