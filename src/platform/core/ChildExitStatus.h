#pragma once

// How the helper programs that run beside Veldra's executable end, as their callers read
// them. Each runs work that a hostile file could make hang, crash or exhaust memory in a
// process of its own, so that only that process ends.

namespace veldra::metafile {

// How the metafile converter ends, as the picture renderer reads it.
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

namespace veldra::xsltrun {

// How the stylesheet program (veldra-xslt) ends, as the preview reads it.
enum ExitStatus : int {
    // The transformation's result is on standard output, in UTF-8.
    Transformed = 0,
    // The document or the stylesheet could not be read, or the transformation failed:
    // standard output says why.
    NotTransformed = 1,
    // Wrong arguments, a document too large, or limits the system refused.
    Refused = 2,
    // The transformation took the most steps it was given.
    StepLimit = 3,
    // The transformation took the most processor time it was given.
    TimeLimit = 4,
    // The transformation needed more memory than the program may take.
    MemoryLimit = 5,
};

} // namespace veldra::xsltrun
