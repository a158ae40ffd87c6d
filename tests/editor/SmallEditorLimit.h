#pragma once

#include "editor/document/EditorRoom.h"

namespace veldra::test {

// The editor's limit, small while it lives: that many elements, with attributes and bytes to
// spare unless given.
class SmallEditorLimit {
public:
    explicit SmallEditorLimit(qint64 elements, qint64 bytes = 64 * 1024 * 1024)
    {
        setEditorLimitForTesting(DocumentSize{elements, 4'000'000, bytes});
    }
    ~SmallEditorLimit() { setEditorLimitForTesting(std::nullopt); }
    SmallEditorLimit(const SmallEditorLimit&) = delete;
    SmallEditorLimit& operator=(const SmallEditorLimit&) = delete;
};

} // namespace veldra::test
