#include "formatter/command_line.h"
#include "sjis/byte_io.h"

int main(int argc, char** argv) {
  sjis::FdSink standard_output(1);
  return kavrile7::run(argc, argv, standard_output);
}
