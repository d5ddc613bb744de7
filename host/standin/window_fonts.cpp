#include "host/standin/window_fonts.h"

namespace {

// "MS Shell Dlg" is no font of its own: the registry names the face behind it.
std::string RegisteredSubstitute(const std::string& face) {
  char value[LF_FACESIZE] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                   face.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::string();
  return value;
}

WindowFace Resolve(const char* role, HFONT font, bool needsCyrillic) {
  WindowFace face;
  face.role = role;
  face.needsCyrillic = needsCyrillic;
  LOGFONTA asked = {};
  GetObjectA(font, sizeof asked, &asked);
  face.requested = asked.lfFaceName;

  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  std::vector<char> buffer(GetOutlineTextMetricsA(screen, 0, nullptr));
  auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
  if (!buffer.empty() && GetOutlineTextMetricsA(screen, static_cast<UINT>(buffer.size()), metrics))
    face.drawnWith = buffer.data() + reinterpret_cast<uintptr_t>(metrics->otmpFamilyName);
  face.cyrillic = GetTextCharset(screen) == RUSSIAN_CHARSET;
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);

  face.present = !face.drawnWith.empty() &&
                 (face.drawnWith == face.requested || face.drawnWith == RegisteredSubstitute(face.requested));
  return face;
}

HFONT CreateFace(const char* name, BYTE charset) {
  return CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
}

}  // namespace

std::vector<WindowFace> ResolveWindowFaces(HFONT listFont) {
  // Dialog templates name "MS Shell Dlg" and leave the character set to the
  // code page; the window buttons are glyphs of Marlett.
  HFONT dialog = CreateFace("MS Shell Dlg", DEFAULT_CHARSET);
  HFONT buttons = CreateFace("Marlett", SYMBOL_CHARSET);
  std::vector<WindowFace> faces = {Resolve("dialog font", dialog, true), Resolve("list font", listFont, true),
                                   Resolve("window-button font", buttons, false)};
  DeleteObject(dialog);
  DeleteObject(buttons);
  return faces;
}

bool ReportWindowFaces(const std::vector<WindowFace>& faces, std::string* report) {
  bool complete = true;
  for (const WindowFace& face : faces) {
    std::string line = face.role + " \"" + face.requested + "\": ";
    if (!face.present) {
      line += "MISSING, Wine draws it with " + (face.drawnWith.empty() ? std::string("no outline font") : face.drawnWith);
      complete = false;
    } else if (face.needsCyrillic && !face.cyrillic) {
      line += face.drawnWith + " without Cyrillic";
      complete = false;
    } else {
      line += face.drawnWith + (face.needsCyrillic ? ", Cyrillic" : "");
    }
    *report += line + "\n";
  }
  return complete;
}
