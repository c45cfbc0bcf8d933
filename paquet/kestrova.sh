#!/bin/sh
# The program and its two outside programs live together, where it looks for them.
exec /usr/lib/kestrova/kestrova "$@"
