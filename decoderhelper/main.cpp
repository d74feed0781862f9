// miravo-decoder: the program's decoder helper (see imageio/DecoderHelper.h).
#include "decoderhelper/HelperMain.h"

int main(int argc, char** argv) { RunDecoderHelper(argc, argv); }
