#pragma once
// The print library stand-in's preview: the pages of a grid print as a PDF,
// laid out as the report project describes them (page size, header lines,
// the table with its column titles and widths, page numbers).
#include <string>
#include <vector>

#include "pelk_job.h"

namespace pelk {

using Righe = std::vector<std::vector<std::string>>;  // one text per printed column

// The rows of each page, as indices into the rows; every page holds at
// least one row, and a print with no rows still has one (empty) page.
// `altezze` are the rows' heights, `disponibile` the table's height less
// the title line.
std::vector<std::vector<int>> Impagina(const std::vector<double>& altezze, double disponibile);

// Writes the preview at `percorso`; returns the number of pages. Throws
// std::runtime_error when the file cannot be written.
int ScriviPdf(const std::string& percorso, const Progetto& progetto, const Righe& righe,
              const std::string& titolo);

}  // namespace pelk
