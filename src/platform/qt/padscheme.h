// The handwriting pad's service in the desktop panel: the browser engine
// hands every request for the pad's address to the page's process itself, so nothing
// listens on a socket and the strokes never leave the process.
#pragma once

class QWebEngineProfile;

namespace lumiko::desktop {

// Makes the pad's scheme known to the browser engine. Must run before the
// application object is created.
void registerPadScheme();

// Answers the pad's requests in the views of `profile` (once per profile).
void installPadService(QWebEngineProfile* profile);

}  // namespace lumiko::desktop
