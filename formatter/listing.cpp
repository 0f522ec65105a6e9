#include "formatter/listing.h"

namespace kavrile7 {

// Placeholder until the data pass and the output passes exist: the run ends as when the
// work file cannot be created.
sjis::ExitStatus produce_listing(const std::string&, const std::string&, const ListingInputs&,
                                 sjis::ByteWriter& out) {
  out.flush();
  return sjis::ExitStatus::Failure;
}

}  // namespace kavrile7
