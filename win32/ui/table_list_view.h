#pragma once

// A table of the report shown in a list view of the common controls (report view): every cell
// whole, numbers right-aligned, without scroll bars when the list view is as large as it needs.

#include <windows.h>

#include "report/document.h"

// Fills `list`, which is empty, with `table`'s heading and rows, and fits its columns.
void fillListView(HWND list, const ambersel::report::Table& table);

// Makes every column of `list` as wide as its widest cell or its heading, whichever is wider, in
// the list's present font: again after the font changed.
void fitColumns(HWND list);

// The size of the list view `list` that shows `rows` rows and every column whole: its columns,
// its heading, and its frame.
SIZE wholeTableSize(HWND list, int rows);
