#!/bin/sh
# The Python module as the README installs it: a fresh venv over Debian's
# Python and packages, the README's pip command from the top of the sources,
# then its tests against the command.
#   install_and_test.sh SOURCE_DIR VENV_DIR OSTREL_ICM
set -eu
source_dir=$1
venv=$2
OSTREL_ICM=$3
export OSTREL_ICM
rm -rf "$venv"
/usr/bin/python3 -m venv --system-site-packages "$venv"
cd "$source_dir"
start=$(date +%s)
"$venv/bin/pip" install --no-build-isolation ./python
echo "pip install took $(( $(date +%s) - start )) s"
# From outside the sources, so that the installed package is the one tested.
cd "$venv"
"$venv/bin/python" -m pytest -q -p no:cacheprovider "$source_dir/python/tests"
