// SPDX-License-Identifier: GPL-3.0-or-later
#include "tessaro_app.h"

#include "application.h"
#include "program.h"

#include <memory>

namespace tessaro
{

int runTessaro(int &argc, char **argv)
{
    return runApplication(argc, argv, [](Toolkit &toolkit) {
        return std::static_pointer_cast<void>(std::make_shared<Program>(toolkit));
    });
}

} // namespace tessaro
