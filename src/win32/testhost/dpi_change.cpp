// A stand-in for the system in the Wine tests, which have one density for every monitor:
// tells the window with the given caption that it now stands on a monitor of another
// density, as Windows does when a window is moved to such a monitor (WM_DPICHANGED with the
// new density and a suggested window rectangle: the same top-left corner, the client area
// scaled from `from_dpi`, the frame kept). The rectangle is written into the window's
// process, at the same address as in this one, so that it arrives whether or not the
// message's rectangle is carried across.
//   dpi_change.exe CAPTION DPI FROM_DPI
// Ends with 0 when the message was delivered.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  HWND w = FindWindowA(nullptr, argv[1]);
  const int dpi = atoi(argv[2]), from = atoi(argv[3]);
  if (!w || dpi <= 0 || from <= 0) return 3;
  RECT outer, client;
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  const int frame_w = (outer.right - outer.left) - client.right, frame_h = (outer.bottom - outer.top) - client.bottom;
  const RECT suggested = {outer.left, outer.top, outer.left + frame_w + MulDiv(client.right, dpi, from),
                          outer.top + frame_h + MulDiv(client.bottom, dpi, from)};
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 4;
  void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr)) return 5;
  void* local = VirtualAlloc(remote, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (local == remote) *static_cast<RECT*>(local) = suggested;
  DWORD_PTR result = 0;
  const LRESULT sent = SendMessageTimeoutA(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote),
                                           SMTO_ABORTIFHUNG, 10000, &result);
  return sent ? 0 : 6;
}
