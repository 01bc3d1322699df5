#pragma once
// Level sets opened as the editor opens them, for the editor's tests.
#include "editor/LevelDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace zorbo::test {

// The document of a level-set text the editor must accept (a failure names why).
inline editor::LevelDocument Parse(const std::string& bytes)
{
    std::string error;
    std::optional<editor::LevelDocument> doc = editor::LevelDocument::FromBytes(bytes, error);
    EXPECT_TRUE(doc) << error;
    return doc ? std::move(*doc) : editor::LevelDocument();
}

} // namespace zorbo::test
