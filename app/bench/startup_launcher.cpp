// Measures start-up to the first idle of a GUI program, against a reference program
// started the same way, alternating the two so that both meet the same system state.
//   startup_launcher <runs> <program> <reference> [arguments for both...]
// Each run: CreateProcess, WaitForInputIdle (the program's first wait for input, that is,
// its window is up and its message loop idle), then WM_CLOSE to its windows and a wait
// for the process to end. Prints every time, the medians and their ratio, and the median of
// the runs' own ratios (each run against the reference started right after it, so a machine
// that slows down for a while slows both).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring Quote(const std::wstring& s) { return L"\"" + s + L"\""; }

BOOL CALLBACK CloseWindowsOf(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid) && ::IsWindowVisible(hwnd)) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

// Milliseconds from CreateProcess to the first idle; negative on failure.
double TimeStartUp(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  const DWORD idle = ::WaitForInputIdle(process.hProcess, 60000);
  const double elapsed = Now() - start;
  ::EnumWindows(&CloseWindowsOf, static_cast<LPARAM>(process.dwProcessId));
  if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return idle == 0 ? elapsed : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_launcher <runs> <program> <reference> [arguments...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::wstring arguments;
  for (int i = 4; i < argc; ++i) arguments += L" " + Quote(argv[i]);
  const std::wstring program = Quote(argv[2]) + arguments;
  const std::wstring reference = Quote(argv[3]) + arguments;

  // One warm-up run each: the first start of a program loads its DLLs from disk.
  TimeStartUp(program);
  TimeStartUp(reference);
  std::vector<double> programTimes, referenceTimes, ratios;
  for (int i = 0; i < runs; ++i) {
    const double p = TimeStartUp(program);
    const double r = TimeStartUp(reference);
    if (p < 0 || r < 0) {
      std::fprintf(stderr, "run %d: a program did not reach its first idle\n", i + 1);
      return 1;
    }
    programTimes.push_back(p);
    referenceTimes.push_back(r);
    ratios.push_back(p / r);
    std::printf("run %2d: program %8.1f ms   reference %8.1f ms\n", i + 1, p, r);
  }
  const double p = Median(programTimes), r = Median(referenceTimes);
  std::printf("median: program %.1f ms, reference %.1f ms, ratio %.2f; median of the runs' ratios %.2f\n", p, r,
              p / r, Median(ratios));
  return 0;
}
