#include "fullwidth/converter.h"

int main(int argc, char** argv) { return fullwidth::run(argc, argv); }
