// The library behind the dialogs' rich edits ("RichEdit20A").
#pragma once

// Loads it once for the life of the process: the window class exists only
// while it is loaded, and a dialog holding one may open again at any time.
void LoadRichEditLibrary();
