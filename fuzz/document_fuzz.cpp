// Feeds arbitrary bytes to the document parser, which runs every check the loader runs. A
// document it accepts must be written back byte for byte, must parse again, and must survive a
// recalculation, since the program recomputes every document right after loading it.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "documents/document_file.h"
#include "kernel/recalc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Tables of 10001 records are large: two are made once and reused, as the loader reuses its own.
  static drex::Construction doc;
  static drex::Construction again;
  if (drex::ParseDocument(data, size, doc) != drex::DocCheck::Ok) return 0;

  std::vector<uint8_t> bytes;
  if (!drex::SerializeDocument(doc, bytes)) std::abort();
  if (bytes.size() != size || !std::equal(bytes.begin(), bytes.end(), data)) std::abort();
  if (drex::ParseDocument(bytes.data(), bytes.size(), again) != drex::DocCheck::Ok) std::abort();

  drex::RecalcPass(doc, drex::MakeViewArea(800, 600, doc.View), 48, 0);
  return 0;
}
