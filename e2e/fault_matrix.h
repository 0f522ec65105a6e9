#ifndef KAV_E2E_FAULT_MATRIX_H_
#define KAV_E2E_FAULT_MATRIX_H_

#include <string>

#include "e2e/process.h"

// What the fault-matrix tests share: the names of the listing's fixed texts, and a run
// of the formatter on the files h.txt, f.txt and d.txt of a directory.
namespace e2e::fault_matrix {

inline const std::string kWorkFile = "$$$kv7.$$$";
inline const std::string kBar = "\x84\xA0";                      // │
inline const std::string kTotal = "(\x91\x8D\x8C\x8F\x90\x94:";  // (総件数:

inline RunResult kavrile7(const TempDir& dir, const std::string& mode, RunOptions options = {}) {
  options.working_directory = dir.path();
  return run_program(KAVRILE7_PATH, {"h.txt", "f.txt", "d.txt", mode}, options);
}

// A small listing: one column of width 8, no date line, 30 lines per page.
inline void write_small_listing(const TempDir& dir, const std::string& data) {
  dir.write("h.txt", "T 30 t N\n");
  dir.write("f.txt", "A C 8 1\n");
  dir.write("d.txt", data);
}

}  // namespace e2e::fault_matrix

#endif  // KAV_E2E_FAULT_MATRIX_H_
