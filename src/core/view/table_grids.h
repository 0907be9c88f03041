#pragma once

namespace qv70 {

class CGridCtrl;
class RecordTables;

// The table pages' use of their grids: how each table is built, and how the
// rows of the group or set in front are written into it. Nothing is read back
// from a grid; whatever an operator changes there changes only that grid.

// A group table as the page first shows it, before any data: 11 rows, the All
// columns with their titles, column 0 labelled " A0".." A9" for `group`.
void BuildInitialManualGrid(CGridCtrl& grid, int group);
// A group table rebuilt for a test-type filter: the columns after the first
// dropped and made again (so emptied), titles, widths and the title row.
void BuildManualColumns(CGridCtrl& grid, int filter);
// The ten record rows of `group` under `filter`, from the display copy, which
// must have been built for the group.
void WriteManualRows(CGridCtrl& grid, const RecordTables& tables, int group, int filter);

// A set table: 361 rows of 6 columns with their titles and row heights.
void BuildLoggingGrid(CGridCtrl& grid);
// Every sample row emptied, then the samples of `set` from the display copy.
void WriteLoggingRows(CGridCtrl& grid, const RecordTables& tables, int set);

}  // namespace qv70
