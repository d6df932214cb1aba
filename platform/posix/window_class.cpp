// Window classes, system icons and cursors.
#include <strings.h>

#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform {
namespace windowing {
namespace {

bool SameName(const char* name, LPCSTR other) { return strcasecmp(name, other) == 0; }

// The common control classes are there from the start, as if comctl32 were loaded with
// the program.
const WindowClass* SystemClasses(size_t* count) {
  static const WindowClass classes[] = {
      {"ToolbarWindow32", 0xC001, CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW, ToolbarProcedure, 0, 0,
       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {"tooltips_class32", 0xC002, CS_GLOBALCLASS, TooltipProcedure, 0, 0, nullptr, nullptr,
       nullptr, nullptr, nullptr, nullptr},
  };
  *count = sizeof classes / sizeof classes[0];
  return classes;
}

// Shared icons and cursors get fixed handles by id, so every load answers the same handle.
// No module carries resources of its own.
HANDLE SystemResource(HINSTANCE instance, uintptr_t base, LPCSTR name, WORD first, WORD last) {
  if (instance != nullptr) return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND, HANDLE{});
  uintptr_t id = reinterpret_cast<uintptr_t>(name);
  if (!IS_INTRESOURCE(name) || id < first || id > last) {
    return Fail(ERROR_RESOURCE_NAME_NOT_FOUND, HANDLE{});
  }
  return reinterpret_cast<HANDLE>(base + id);
}

}  // namespace

const WindowClass* FindClass(HINSTANCE instance, LPCSTR name) {
  if (name == nullptr || IS_INTRESOURCE(name)) return nullptr;
  WindowSystem& system = System();
  for (const WindowClass* c : system.classes) {
    if (c->instance == instance && SameName(c->name, name)) return c;
  }
  for (const WindowClass* c : system.classes) {
    if ((c->style & CS_GLOBALCLASS) && SameName(c->name, name)) return c;
  }
  size_t count;
  const WindowClass* builtIn = SystemClasses(&count);
  for (size_t i = 0; i < count; ++i) {
    if (SameName(builtIn[i].name, name)) return &builtIn[i];
  }
  return nullptr;
}

}  // namespace windowing

using windowing::System;
using windowing::WindowClass;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpszClassName == nullptr ||
      IS_INTRESOURCE(wc->lpszClassName) || wc->cbClsExtra < 0 || wc->cbWndExtra < 0) {
    return windowing::Fail(ERROR_INVALID_PARAMETER, ATOM{0});
  }
  windowing::WindowSystem& system = System();
  for (const WindowClass* c : system.classes) {
    if (c->instance == wc->hInstance && windowing::SameName(c->name, wc->lpszClassName)) {
      return windowing::Fail(ERROR_CLASS_ALREADY_EXISTS, ATOM{0});
    }
  }
  ATOM atom = system.nextAtom++;
  auto* registered = static_cast<WindowClass*>(Reallocate(nullptr, sizeof(WindowClass)));
  *registered = {CopyText(wc->lpszClassName),
                 atom,
                 wc->style,
                 wc->lpfnWndProc,
                 wc->cbClsExtra,
                 wc->cbWndExtra,
                 wc->hInstance,
                 wc->hIcon,
                 wc->hCursor,
                 wc->hbrBackground,
                 wc->lpszMenuName,
                 wc->hIconSm};
  system.classes.Append(registered);
  return atom;
}

BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* wc) {
  const WindowClass* c = windowing::FindClass(instance, className);
  if (c == nullptr) return windowing::Fail(ERROR_CLASS_DOES_NOT_EXIST, BOOL{FALSE});
  if (wc == nullptr) return windowing::Fail(ERROR_NOACCESS, BOOL{FALSE});
  wc->style = c->style;
  wc->lpfnWndProc = c->procedure;
  wc->cbClsExtra = c->classExtra;
  wc->cbWndExtra = c->windowExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = c->menuName;
  wc->lpszClassName = className;
  wc->hIconSm = c->smallIcon;
  return c->atom;
}

// The system icons run from IDI_APPLICATION (32512) to IDI_SHIELD (32518).
HICON LoadIconA(HINSTANCE instance, LPCSTR iconName) {
  return static_cast<HICON>(
      windowing::SystemResource(instance, 0x00100000, iconName, 32512, 32518));
}

// The system cursors run from IDC_ARROW (32512) to IDC_HELP (32651).
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
  return static_cast<HCURSOR>(
      windowing::SystemResource(instance, 0x00200000, cursorName, 32512, 32651));
}

}  // namespace platform
