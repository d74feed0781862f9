#include "batch/SmoothSkinCommand.h"

#include "batch/SmoothSkinArguments.h"
#include "batch/SmoothSkinBatch.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

namespace smoothskincommand {

bool AskedFor(int argc, char** argv) { return SmoothSkinArguments::AskedFor(argc, argv); }

int Run(int argc, char** argv)
{
    // Qt Core only, for the picture readers' plugins: no display is opened.
    QCoreApplication application(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return SmoothSkinBatch(SmoothSkinArguments::Parse(arguments), std::cout, std::cerr).Run();
}

} // namespace smoothskincommand
