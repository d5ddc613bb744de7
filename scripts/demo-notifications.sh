# Sourced by scripts/demo: the margin calls' other ends. A local SMTP sink
# (tests/support/smtp_sink.py), a folder for the message files and a SQLite
# database named by an odbc.ini of the demo's own; the address files give
# every sample client an e-mail address and a UID. The settings that turn the
# notifications on are added to the demo's info.ini (code page 1251).

demo_notifications_start() {
  local out=$1 run=$2 firm letter n code
  mkdir -p "$out/mail" "$out/messages"
  /usr/bin/python3 "$root/tests/support/smtp_sink.py" --folder "$out/mail" \
      --ready-file "$out/smtp-ready" --login demo --password demo --lifetime 200 \
      >"$out/smtp-sink.log" 2>&1 &
  DEMO_SINK_PID=$!
  for _ in $(seq 100); do [ -f "$out/smtp-ready" ] && break; sleep 0.1; done
  local port
  port=$(sed -n 's/^VANTREL_SMTP_PORT=//p' "$out/smtp-ready")

  sqlite3 "$out/margin-calls.db" "create table MCalls (MCType integer, TDate integer,
    MCTime integer, MCLevel real, Margin real, CCode text, MsgText text, MsgText2 text,
    MsgText3 text, MsgText4 text, SubjText text, FirmID text, MsgText5 text, Emails text)"
  printf '[VanTrelDemo]\nDriver=SQLite3\nDatabase=%s\n' "$out/margin-calls.db" > "$out/odbc.ini"
  export ODBCINI=$out/odbc.ini

  # Accounts A00001.., B00001.., C00001.. by firm; a united client's code is
  # "C" and its account.
  : > "$run/emails.txt"; : > "$run/uids.txt"
  for letter in A B C; do
    for n in $(seq -f '%05g' 1 100) 90001; do
      for code in "$letter$n" "C$letter$n"; do
        printf '%s=%s@client.demo\r\n' "$code" "${code,,}" >> "$run/emails.txt"
        printf '%s=%d\r\n' "$code" "$((10#$n))" >> "$run/uids.txt"
      done
    done
  done
  printf '%s=c001@client.demo\r\n' C001 >> "$run/emails.txt"
  printf 'Клиент %%cc (%%em): достаточность средств %%.2val на %%cd %%ct.\r\n' \
    | iconv -f UTF-8 -t CP1251 > "$run/SFRBody"
  cp "$run/SFRBody" "$run/SFRBodyFP"
  { printf 'ConsiderFilters=0\nSendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nUseSFRTemplate2=1\n'
    printf 'SFRTopic=Margin call: %%cc\nMailLogLevel=1\n'
    printf 'NotifyByEmail=1\nSMTPServer=127.0.0.1\nPort=%s\nSenderAddress=risk@vantrel.demo\n' "$port"
    printf 'ZenkEmailsVsClientCodesFile=emails.txt\nZenkUIDsVsClientCodesFile=uids.txt\n'
    printf 'NotifyByTraderMsg=1\nNotifyByMC2Z=1\nMC2ZDirectories=%s\n' "$(winepath -w "$out/messages")"
    printf 'NeedSaveToDB=1\nDSN=VanTrelDemo\n'
  } >> "$run/info.ini"
}

demo_notifications_stop() {
  [ -n "${DEMO_SINK_PID:-}" ] && kill "$DEMO_SINK_PID" 2>/dev/null || true
}

demo_notifications_report() {
  local out=$1 file
  echo "margin calls: $(ls "$out/mail" | grep -c '\.txt$') e-mails, $(ls "$out/messages" | wc -l) message files, $(sqlite3 "$out/margin-calls.db" 'select count(*) from MCalls') database rows"
  echo "first e-mails ($out/mail):"
  for file in $(ls "$out/mail"/*.txt 2>/dev/null | head -n 3); do
    iconv -f CP1251 -t UTF-8 "$file" | grep -v '^Content-Type' | sed 's/^/  /'
  done
  echo "first message files ($out/messages):"
  for file in $(ls "$out/messages"/* 2>/dev/null | head -n 3); do
    echo "  $(basename "$file"):"; iconv -f CP1251 -t UTF-8 "$file" | tr -d '\r' | sed 's/^/    /'
  done
  echo "first database rows ($out/margin-calls.db):"
  sqlite3 -separator ' | ' "$out/margin-calls.db" \
    'select MCType, TDate, MCTime, MCLevel, round(Margin, 4), CCode, FirmID, Emails from MCalls limit 5' \
    | sed 's/^/  /'
}
