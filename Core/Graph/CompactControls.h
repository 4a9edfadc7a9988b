#pragma once
// Windows designed in dialog units give their edit fields, combo boxes and
// buttons a dozen pixels of height; the desktop theme's default padding would
// not leave room for the text. This tightens the padding for the program's
// own windows.

namespace zam::graph {

/// Applies compact padding to edit fields, combo boxes and buttons of every
/// window the program opens from now on. Call once, after the toolkit starts.
void UseCompactControls();

/// The style sheet UseCompactControls applies (GTK's CSS).
const char* CompactControlsCss();

}  // namespace zam::graph
