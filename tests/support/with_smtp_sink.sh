#!/usr/bin/env bash
# Runs a command beside a local SMTP sink (smtp_sink.py) and stops the sink
# after it. The command finds the sink in the environment: VANTREL_SMTP_PORT,
# VANTREL_SMTP_AUTH_PORT (AUTH LOGIN with VANTREL_SMTP_LOGIN and
# VANTREL_SMTP_PASSWORD), VANTREL_SMTP_DOWN_PORT (nothing listens there) and
# VANTREL_SMTP_FOLDER (what the sink received, as a Wine path).
set -euo pipefail
work=$(mktemp -d)
export VANTREL_SMTP_LOGIN=robot VANTREL_SMTP_PASSWORD='s3cret:word'
# Debian's Python, which python3-aiosmtpd installs into.
/usr/bin/python3 "$(dirname "$0")/smtp_sink.py" --folder "$work/mail" --ready-file "$work/ready" \
        --login "$VANTREL_SMTP_LOGIN" --password "$VANTREL_SMTP_PASSWORD" --lifetime 400 \
        >"$work/sink.log" 2>&1 &
sink=$!
finish() { kill "$sink" 2>/dev/null || true; wait "$sink" 2>/dev/null || true; rm -rf "$work"; }
trap finish EXIT
for _ in $(seq 200); do
  [ -f "$work/ready" ] || ! kill -0 "$sink" 2>/dev/null && break
  sleep 0.1
done
[ -f "$work/ready" ] || { echo "the SMTP sink did not start:"; cat "$work/sink.log"; exit 1; }
set -a && source "$work/ready" && set +a
export VANTREL_SMTP_FOLDER="Z:${work//\//\\}\\mail"
"$@"
