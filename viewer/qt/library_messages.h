// The Varnel library's messages as warning boxes captioned "Varnel", always
// shown by the user-interface thread.
#pragma once

class QWidget;

// Installs the library's message handler; boxes open over parent while it
// lives. A report on the user-interface thread waits for the user; one from
// another thread is queued and answered OK at once, because a library thread
// must never wait for the user: the user-interface thread may be joining it
// in VarnelFinish.
void InstallLibraryMessageHandler(QWidget* parent);
// Gives the library back its default handler.
void RestoreLibraryMessageHandler();
