#!/usr/bin/env bash
# The third-party notices of the Windows programs: what they link statically, each with its licence as Debian
# ships it.
set -euo pipefail
# Where the source lives: the one constant the About box shows too.
source_url="$(sed -n 's/.*SourceUrl = "\(.*\)";/\1/p' "$(dirname "$0")/../../src/core/platform/VersionInfo.h")"
qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo 6.4.2)"
section() {
    printf '\n\n==============================================================================\n%s\n' "$1"
    printf '==============================================================================\n\n'
}
cat <<TEXT
Third-party software in quillon.exe and quillon-cli.exe
=======================================================

Quillon itself is under the MIT licence (LICENSE.txt). The programs are linked
statically with the libraries below (zlib, libdeflate and SQLite directly); each
notice follows.

Qt $qt_version (qtbase), built from Debian's qt6-base source package, is used
under the GNU Lesser General Public License version 3. Quillon's complete source
and the scripts that build Qt and Quillon for Windows (tools/build-qt-windows.sh,
tools/dist-windows.sh) are public at $source_url,
so you can rebuild Quillon against a modified Qt and relink it. The Qt source is
Debian's qt6-base $qt_version source package ("apt-get source qt6-base").
Qt brings FreeType, HarfBuzz, PCRE2, libpng and its own zlib.
TEXT
section "Qt: GNU Lesser General Public License version 3"
cat /usr/share/common-licenses/LGPL-3
section "Qt: GNU General Public License version 3 (which the LGPL builds on)"
cat /usr/share/common-licenses/GPL-3
section "SQLite"
echo "SQLite is in the public domain (https://sqlite.org/copyright.html)."
for pkg in zlib1g libdeflate0 libfreetype6 libharfbuzz0b libpcre2-16-0 libpng16-16; do
    section "$pkg (as Debian documents it)"
    cat "/usr/share/doc/$pkg/copyright"
done
