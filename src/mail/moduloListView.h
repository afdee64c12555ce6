#pragma once

class QTreeWidget;
class Recordset;

// Shows any result set in a list with columns: one column per field that can
// be shown, headed by the field's name and aligned by its type, one row per
// record. Widths are reckoned in twips (1440 to the inch) through the list's
// own font and the screen's logical dots per inch; each column keeps its
// width in twips in its header's Qt::UserRole.

// RiempiListView, then AdattaColonne with the headers counted.
void MostraRecordset(Recordset& recordset, QTreeWidget* lista);

// Rebuilds the columns and rows from the result set, from its first record;
// `limite` rows at most (0: all). A field of a type that cannot be shown
// (binary) gets no column.
void RiempiListView(QTreeWidget* lista, Recordset& recordset, int limite);

// Makes every column 200 twips wider than its widest text (the header's too
// when `intestazioni`). A list without rows keeps its widths.
void AdattaColonne(QTreeWidget* lista, bool intestazioni);

// A column's width in twips, as last set.
int LarghezzaTwip(const QTreeWidget* lista, int colonna);
