#!/usr/bin/python3
"""Local SMTP sink for the mail library's tests (see with_smtp_sink.sh).

Ports on 127.0.0.1: one plain, one requiring AUTH LOGIN (--login, --password).
Each message goes into --folder as N.envelope, N.eml (raw) and N.txt (headers
and body as a mail reader decodes them, code page 1251). Recipients named
"refused..." are refused (550); mail to "rejected..." is rejected at DATA (554).
"""
import argparse, asyncio, email, email.policy, itertools, os, socket

from aiosmtpd.smtp import SMTP, AuthResult


class Sink:
    def __init__(self, folder):
        self.folder, self.numbers = folder, itertools.count(1)

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith('refused'):
            return f'550 5.1.1 <{address}>: mailbox unavailable'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        if any(r.startswith('rejected') for r in envelope.rcpt_tos):
            return '554 5.6.0 Message refused'
        base = os.path.join(self.folder, '%04d' % next(self.numbers))
        login = session.auth_data.login.decode() if session.authenticated else '-'
        lines = [f'MAIL FROM:<{envelope.mail_from}>'] + \
            [f'RCPT TO:<{r}>' for r in envelope.rcpt_tos] + [f'AUTH {login}']
        with open(base + '.envelope', 'w') as out:
            out.write(''.join(line + '\n' for line in lines))
        with open(base + '.eml', 'wb') as out:
            out.write(envelope.original_content)
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        view = ''.join(f'{name}: {message[name]}\n' for name in
                       ('From', 'To', 'Cc', 'Bcc', 'Subject', 'Content-Type') if message[name])
        with open(base + '.part', 'wb') as out:  # N.txt appears last, complete
            out.write((view + '\n' + message.get_content()).encode('cp1251', errors='replace'))
        os.rename(base + '.part', base + '.txt')
        return '250 OK: queued'


async def serve(args):
    sink, loop = Sink(args.folder), asyncio.get_running_loop()

    def authenticator(server, session, envelope, mechanism, data):
        valid = mechanism == 'LOGIN' and (data.login, data.password) == (
            args.login.encode(), args.password.encode())
        return AuthResult(success=valid, handled=False, auth_data=data)  # refused: 535

    plain = await loop.create_server(lambda: SMTP(sink), '127.0.0.1', 0)
    auth = await loop.create_server(
        lambda: SMTP(sink, authenticator=authenticator, auth_required=True,
                     auth_require_tls=False), '127.0.0.1', 0)
    with socket.socket() as probe:  # a port where nothing listens
        probe.bind(('127.0.0.1', 0))
        ports = [plain.sockets[0], auth.sockets[0], probe]
        names = ['VANTREL_SMTP_PORT', 'VANTREL_SMTP_AUTH_PORT', 'VANTREL_SMTP_DOWN_PORT']
        with open(args.ready_file + '.part', 'w') as out:
            out.write(''.join(f'{n}={s.getsockname()[1]}\n' for n, s in zip(names, ports)))
    os.rename(args.ready_file + '.part', args.ready_file)
    await asyncio.sleep(args.lifetime)


if __name__ == '__main__':
    parser = argparse.ArgumentParser()
    for option in ('--folder', '--ready-file', '--login', '--password'):
        parser.add_argument(option, required=True)
    parser.add_argument('--lifetime', type=float, default=600)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    asyncio.run(serve(args))
