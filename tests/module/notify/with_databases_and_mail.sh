#!/usr/bin/env bash
# Runs a test program with both databases (with_databases.sh) and beside the
# local SMTP sink (with_smtp_sink.sh).
here=$(dirname "$0")
exec "$here/with_databases.sh" "$here/../../support/with_smtp_sink.sh" "$@"
