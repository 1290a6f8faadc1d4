#pragma once

#include "TreeItemRecord.h"

#include <string>
#include <vector>

// One group of the tree with its rows in row order, as the report reads it;
// texts in UTF-8.
struct TreeGroupRecord
{
    std::string name;
    std::string value;
    std::vector<TreeItemRecord> items;
};
