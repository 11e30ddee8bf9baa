// The candidates' one-line labels in CandidatePanel.
#pragma once

#include <string>

struct QPATHDATA;

// The label text: "QPath #0007 G=03 L=001235".
std::string FormatPathLabel(const QPATHDATA& entry);
// Creates or refreshes the label of the entry on a row (16 px per row);
// a negative row removes it.
void UpdatePathLabel(QPATHDATA* entry, int row);
