#pragma once

#include <vector>

// A title of an annex grid and the column it shows.
struct AnnexGridColumn {
    const char *title;
    const char *column;
};

// A title the search understands; it filters its grid column and orders by `order`, or by that column.
struct AnnexSearchTitle {
    const char *title;
    const char *order = nullptr;
};

// What sets the seven annex browse windows apart: their class, caption and banner, the statement that
// lists the active company's rows when the window opens, the grid, the titles the search understands and
// the statement of the sorting and the search, scoped to the active company (":Societe", ":exercice").
struct AnnexBrowseDefinition {
    int annex;
    const char *className;
    const char *caption;
    const char *banner;
    const char *openingStatement; // parameters :code and :exercice
    const char *scopedStatement;  // followed by the search condition and the order
    bool loadWhenShown;           // the rows are read again each time the window is shown, else once
    bool certificates;            // the salary withholding certificates are printed from the window
    std::vector<AnnexGridColumn> grid;
    std::vector<AnnexSearchTitle> searchable;
};

// Annexes 1 to 7.
const AnnexBrowseDefinition &annexBrowseDefinition(int annex);
