// SPDX-License-Identifier: GPL-3.0-or-later
#include "tessaro_app.h"

int main(int argc, char *argv[])
{
    return tessaro::runTessaro(argc, argv);
}
