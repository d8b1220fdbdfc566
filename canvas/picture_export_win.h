// The picture as the canvas shows it, taken out of the program: to the clipboard, or to a PNG
// file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The largest width and height of a picture taken out, in pixels.
inline constexpr int32_t kLargestExportSide = 16384;

// Puts the picture of `canvas` as shown (up to the current record, without the records
// switched off, at the present zoom, on the background colour) on the clipboard as a bitmap,
// with an enhanced metafile of the same records beside it. false, with the reason in
// `failure`, when nothing could be put there.
bool CopyPictureToClipboard(HWND canvas, std::wstring* failure);

// Writes the same bitmap to `path` as a PNG image. false, with the reason in `failure`, when
// the file could not be written; a file begun is then removed.
bool SavePicturePng(HWND canvas, const wchar_t* path, std::wstring* failure);

// The system's text for an error code, without its line end; the number where it has none.
std::wstring SystemReason(DWORD code);
