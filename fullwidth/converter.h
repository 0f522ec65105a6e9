#ifndef KAV_FULLWIDTH_CONVERTER_H_
#define KAV_FULLWIDTH_CONVERTER_H_

#include <optional>

#include "fullwidth/command_line.h"
#include "sjis/byte_io.h"
#include "sjis/code_page.h"
#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace fullwidth {

// Reads source as a text file and writes it to out through the pass of settings.mode.
// Fails with the not-found message for settings.text_file and exit status 1 when nothing
// can be read from source at all (a read error before the first byte), and with exit
// status 1 and no message when a read error cuts the text short; what was converted up
// to then stays in out. Does not flush out.
std::optional<sjis::Failure> convert_text(const ConverterSettings& settings,
                                          const sjis::CodePage& code_page, sjis::ByteSource& source,
                                          sjis::ByteWriter& out);

// The whole run of the converter on the arguments of main: parse the command line, open
// the text file, convert it to out, flush out. Writes the usage text or a message to out
// when the run fails, and returns the exit status: Usage for too few arguments, Failure
// when the text file cannot be opened or read or out cannot be written, else Success.
// The code page is read from the environment once.
sjis::ExitStatus run(int argc, const char* const* argv, sjis::ByteWriter& out);

// run() with standard output as a text stream, after sjis::prepare_standard_streams();
// returns the exit status for main.
int run(int argc, char** argv);

}  // namespace fullwidth

#endif  // KAV_FULLWIDTH_CONVERTER_H_
