#ifndef CCOMPLEX_TESTS_CORRECTLY_ROUNDED_TABLE_H
#define CCOMPLEX_TESTS_CORRECTLY_ROUNDED_TABLE_H

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The build names the table's path; compiled alone, a test looks for it from
// the source tree's root.
#ifndef CORRECTLY_ROUNDED_TABLE
#define CORRECTLY_ROUNDED_TABLE "tests/correctly_rounded.txt"
#endif

// A line of the table that tools/correctly_rounded.cpp made with MPC: a
// function, its operands and the correctly rounded parts, all as bits; and
// the line itself, for messages.
struct TableRow {
    std::string name;
    std::vector<std::uint32_t> bits;
    std::string line;
};

// Every row of the table, comments left out; none if it cannot be read.
inline std::vector<TableRow> correctlyRoundedTable() {
    std::vector<TableRow> rows;
    std::ifstream table(CORRECTLY_ROUNDED_TABLE);
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        TableRow row;
        fields >> row.name >> std::hex;
        if (row.name.empty() || row.name[0] == '#') continue;
        for (std::uint32_t b; fields >> b;) row.bits.push_back(b);
        row.line = line;
        rows.push_back(row);
    }
    return rows;
}

#endif  // CCOMPLEX_TESTS_CORRECTLY_ROUNDED_TABLE_H
