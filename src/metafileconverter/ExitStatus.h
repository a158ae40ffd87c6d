#pragma once

namespace veldra::metafile {

// How the converter program ends, as the renderer reads it.
enum ExitStatus : int {
    // The converted document is on standard output.
    Converted = 0,
    // The library could not convert the metafile.
    NotConverted = 1,
    // Wrong arguments, a metafile or result too large, or limits the system refused.
    Refused = 2,
    // The drawing is not made, and standard output says why, worded to follow "the picture"
    // ("has more than 100000 elements to draw").
    NotDrawn = 3,
};

} // namespace veldra::metafile
