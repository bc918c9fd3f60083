// The handwriting pad's service in the Windows panel: a pluggable protocol
// for the pad's scheme, registered for this process only (no registry), so
// the browser control hands the pad's requests to the panel and no socket
// is opened. Recognitions run on the pad service's own thread and are
// answered asynchronously.
#pragma once

#include <string>

#include "hwr/recogniser.h"

namespace lumiko::win32 {

// Registers the pad's scheme with the process's URL monikers; the model is
// looked for at `modelPath` (UTF-8) at the first recognition. False when the system
// refused the registration (logged by the caller).
bool registerPadProtocol(const std::string& modelPath);

// The model file beside lumiko.exe (UTF-8).
std::string padModelBesideProgram();

// Maps the model at `path` (UTF-8) through the system's UTF-16 file calls,
// so that any folder name opens: zinnia's own opening goes through the code
// page of the system.
hwr::ModelBytes mapPadModel(const std::string& path, std::string& error);

}  // namespace lumiko::win32
