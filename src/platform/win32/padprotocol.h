// The handwriting pad's service in the Windows panel: a pluggable protocol
// for the pad's scheme, registered for this process only (no registry), so
// the browser control hands the pad's requests to the panel and no socket
// is opened.
#pragma once

#include <string>

namespace lumiko::win32 {

// Registers the pad's scheme with the process's URL monikers; the model is
// looked for at `modelPath` at the first recognition. False when the system
// refused the registration (logged by the caller).
bool registerPadProtocol(const std::string& modelPath);

// The model file beside lumiko.exe.
std::string padModelBesideProgram();

}  // namespace lumiko::win32
