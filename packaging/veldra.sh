#!/bin/sh
# Starts Veldra from its program folder, which is installed beside this launcher's folder
# (bin/veldra runs lib/veldra/veldra). The program finds its data in the folder of its
# executable, so it is started there rather than copied onto the path.
launcher=$(readlink -f "$0")
exec "$(dirname "$launcher")/../lib/veldra/veldra" "$@"
