/* Starts programs in turn and measures, for each run, the time from just
   before CreateProcess to the moment the program has a visible dialog
   (a top-level "#32770" window). Polls every millisecond or so. The run
   ends there: the process is terminated, since how it would end is not
   measured and a closed dialog takes Wine seconds to wind down.

   Usage: watch_dialog RUNS EXE...
   After one unmeasured warm-up run of each EXE, makes RUNS rounds; each
   round runs every EXE once, in an order that alternates between rounds.
   Prints one line per measured run: "<EXE index> <milliseconds>", or
   "<EXE index> failed" when no dialog appeared. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kGiveUpMs = 30000, kExitWaitMs = 10000 };

struct DialogSearch {
  DWORD process_id;
  HWND found;
};

static BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  struct DialogSearch *search = (struct DialogSearch *)param;
  DWORD owner = 0;
  char class_name[16];
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  if (!GetClassNameA(window, class_name, sizeof class_name)) return TRUE;
  if (strcmp(class_name, "#32770") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

static double ElapsedMs(LARGE_INTEGER since) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (double)(now.QuadPart - since.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* Milliseconds until the dialog of a fresh run of exe was visible; < 0 on failure. */
static double TimeToDialog(const char *exe) {
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process;
  char command_line[MAX_PATH + 3];
  LARGE_INTEGER start;
  struct DialogSearch search = {0, NULL};
  double ms = -1.0;

  snprintf(command_line, sizeof command_line, "\"%s\"", exe);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe, command_line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
    fprintf(stderr, "cannot start %s: error %lu\n", exe, GetLastError());
    return -1.0;
  }
  search.process_id = process.dwProcessId;
  for (;;) {
    EnumWindows(MatchDialog, (LPARAM)&search);
    if (search.found) {
      ms = ElapsedMs(start);
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    if (ElapsedMs(start) > kGiveUpMs) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, kExitWaitMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ms;
}

static void Report(int index, double ms) {
  if (ms < 0) printf("%d failed\n", index);
  else printf("%d %.1f\n", index, ms);
  fflush(stdout);
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: watch_dialog RUNS EXE...\n");
    return 2;
  }
  const int runs = atoi(argv[1]);
  const int programs = argc - 2;
  for (int p = 0; p < programs; ++p) TimeToDialog(argv[2 + p]);
  for (int round = 0; round < runs; ++round) {
    for (int k = 0; k < programs; ++k) {
      const int p = (round % 2 == 0) ? k : programs - 1 - k;
      Report(p, TimeToDialog(argv[2 + p]));
    }
  }
  return 0;
}
