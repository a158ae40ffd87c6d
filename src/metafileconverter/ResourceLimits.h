#pragma once

namespace veldra::metafile {

// Bounds what the converter process may take, before any metafile reaches a library: its
// processor time (the renderer's own time limit is shorter and ends it first; this one ends
// it if the renderer is gone), its address space, and core dumps of a crash. False when
// the system refused a limit.
bool limitResources();

} // namespace veldra::metafile
