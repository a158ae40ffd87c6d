#pragma once

namespace veldra::codesystems {

// True when the main window's "Find whole Word/Code only" box is checked (any state
// but unchecked): the lookups then compare the whole text exactly, else they search
// in part. Without a main window every search is partial, as the box starts unchecked.
// The lookups ask at every search.
bool wholeWordSearch();

} // namespace veldra::codesystems
