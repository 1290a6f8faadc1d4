#pragma once

#include <string>

class QTreeWidgetItem;

// One measurement row of the tree as the report reads it; texts in UTF-8.
struct TreeItemRecord
{
    std::string name;
    std::string value;
    QTreeWidgetItem* item = nullptr;
    int id = 0;
};
