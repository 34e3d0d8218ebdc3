#!/usr/bin/env python3
"""Writes form-*.lnk into the folder given: shortcuts laid out byte by byte as
[MS-SHLLINK] and the shell's item formats describe them, for the forms Wine's
shell does not write (root items of known folders, volume items by class,
file items without their long-name block, LinkInfo alone, an item list and
LinkInfo that disagree), and damaged ones: a string or block past the end, a
file cut after or inside its item list."""
import struct
import sys
import uuid


def guid(text):
    return uuid.UUID(text).bytes_le


def sized(body):
    return struct.pack('<H', len(body) + 2) + body


def root(clsid, kind=0x1F):
    return sized(bytes([kind, 0x50]) + guid(clsid))


COMPUTER = root('20D04FE0-3AEA-1069-A2D8-08002B30309D')


def drive(letter, kind=0x2F):
    return sized(bytes([kind]) + (letter + ':\\').encode().ljust(22, b'\0'))


def name_block(name, starts_at):
    block = struct.pack('<HHI', 0, 9, 0xBEEF0004) + bytes(38) + name.encode('utf-16-le') + b'\0\0'
    block += struct.pack('<H', starts_at)
    return struct.pack('<H', len(block)) + block[2:]


def entry(primary, kind=0x32, long_name=None):
    """A file or folder item: its primary name (code page, or UTF-16 when the type has 0x04), then the
    long-name block, or for none the two zero bytes of an empty one."""
    text = primary.encode('utf-16-le') + b'\0\0' if kind & 4 else primary.encode('latin-1') + b'\0'
    head = bytes([kind, 0]) + bytes(10) + text
    if len(head) % 2:
        head += b'\0'
    if long_name is None:
        return sized(head + b'\0\0')
    return sized(head + name_block(long_name, len(head) + 2))


def delegate(primary, long_name):
    inner = entry(primary, 0x31)[2:]
    head = bytes([0x74, 0]) + struct.pack('<H', 6 + len(inner) - 2) + b'CFSF' + struct.pack('<H', len(inner)) + inner
    head += guid('5E591A74-DF96-48D3-8D67-1733BCEE28BA') + guid('DFFACDC5-679F-4156-8947-C5C76BC0B67F')
    return sized(head + name_block(long_name, len(head) + 2))


def id_list(*items):
    body = b''.join(items) + b'\0\0'
    return struct.pack('<H', len(body)) + body


def local_info(base, suffix=''):
    volume = struct.pack('<IIII', 0x11, 3, 0x1234, 0x10) + b'\0'
    header = 0x1C
    local = header + len(volume)
    suffix_at = local + len(base) + 1
    body = struct.pack('<IIIIII', header, 1, header, local, 0, suffix_at) + volume + base.encode() + b'\0' + suffix.encode() + b'\0'
    return struct.pack('<I', len(body) + 4) + body


def share_info(share, suffix):
    net = struct.pack('<IIIII', 0x14 + len(share) + 1, 2, 0x14, 0, 0x20000) + share.encode() + b'\0'
    link = 0x1C
    body = struct.pack('<IIIIII', 0x1C, 2, 0, 0, link, link + len(net)) + net + suffix.encode() + b'\0'
    return struct.pack('<I', len(body) + 4) + body


def string(text, unicode):
    return struct.pack('<H', len(text)) + text.encode('utf-16-le' if unicode else 'latin-1')


def link(flags, *parts):
    header = struct.pack('<I', 0x4C) + guid('00021401-0000-0000-C000-000000000046') + struct.pack('<I', flags)
    return header.ljust(0x4C, b'\0') + b''.join(parts) + b'\0\0\0\0'


ITEMS, INFO, RELATIVE, ARGUMENTS, ICON, UNICODE = 0x1, 0x2, 0x8, 0x20, 0x40, 0x80
CMD_LIST = id_list(COMPUTER, drive('C'), entry('Windows', 0x31, 'Windows'), entry('System32', 0x31, 'System32'),
                   entry('cmd.exe', 0x32, 'cmd.exe'))
CMD_FLAGS = ITEMS | INFO | ARGUMENTS | ICON | UNICODE
# Arguments padded with blanks to hide them in the Properties dialog, and the icon.
CMD_STRINGS = string(' ' * 1000 + '/c start x', True) + string('C:\\Windows\\System32\\cmd.exe', True)
CMD = link(CMD_FLAGS, CMD_LIST, local_info('C:\\Windows\\System32\\cmd.exe'), CMD_STRINGS)
FORMS = {
    'users-files': link(ITEMS, id_list(root('59031A47-3F72-44A7-89C5-5595FE6B30EE'), entry('DESKTOP', 0x31, 'Desktop'),
                                       entry('GONE~1.TXT', 0x32, 'gone file.txt'))),
    'users-files-appdata': link(ITEMS, id_list(root('59031A47-3F72-44A7-89C5-5595FE6B30EE'), delegate('AppData', 'AppData'),
                                               entry('Roaming', 0x31, 'Roaming'), entry('x.ini', 0x32, 'x.ini'))),
    'my-documents-root': link(ITEMS, id_list(root('450D8FBA-AD25-11D0-98A8-0800361B1103'), entry('REPORT~1.DOC', 0x32))),
    'documents-known-root': link(ITEMS, id_list(root('FDD39AD0-238F-46AF-ADB4-6C85480369C7'), entry('a.txt', 0x32, 'a.txt'))),
    'this-pc-documents': link(ITEMS, id_list(COMPUTER, root('D3162B92-9365-467A-956B-92703ACA08AF', 0x2E),
                                             entry('b.txt', 0x32, 'b.txt'))),
    'this-pc-desktop': link(ITEMS, id_list(COMPUTER, root('B4BFCC3A-DB2C-424C-B029-7FE99A87C641', 0x2E),
                                           entry('c.txt', 0x32, 'c.txt'))),
    'volume-0x23': link(ITEMS, id_list(COMPUTER, drive('C', 0x23), entry('WINDOWS', 0x31, 'windows'))),
    'volume-0x25': link(ITEMS, id_list(COMPUTER, drive('D', 0x25), entry('gone.exe', 0x32, 'gone.exe'))),
    'short-names': link(ITEMS, id_list(COMPUTER, drive('C'), entry('PROGRA~1', 0x31), entry('GONEAPP.EXE', 0x32))),
    'unicode-primary': link(ITEMS, id_list(COMPUTER, drive('C'), entry('\u62a5\u544a.txt', 0x36))),
    'linkinfo-only': link(INFO, local_info('C:\\windows', 'gone.exe')),
    'linkinfo-share': link(INFO, share_info('\\\\server\\share', 'dir\\gone.exe')),
    'list-and-linkinfo-disagree': link(ITEMS | INFO, id_list(COMPUTER, drive('C'), entry('list.txt', 0x32, 'list.txt')),
                                       local_info('C:\\info.txt')),
    'panel-and-linkinfo': link(ITEMS | INFO, id_list(root('21EC2020-3AEA-1069-A2DD-08002B30309D')), local_info('C:\\info.txt')),
    'control-panel': link(ITEMS, id_list(root('21EC2020-3AEA-1069-A2DD-08002B30309D'))),
    'code-page-names': link(ITEMS, id_list(COMPUTER, drive('C'), entry('PROGRA~1', 0x31), entry('\xe9t\xe9.txt', 0x32))),
    'climbing-primary': link(ITEMS, id_list(COMPUTER, drive('C'), entry('..', 0x31), entry('x.txt', 0x32))),
    'computer-in-volume-type': link(ITEMS, id_list(root('20D04FE0-3AEA-1069-A2D8-08002B30309D', 0x2E), entry('x.txt', 0x32))),
    'relative-only': link(RELATIVE | UNICODE, string('..\\gone.exe', True)),
    'arguments-only': link(ARGUMENTS, string('/x', False)),
    'padded-arguments': CMD,
    'damaged-string-past-end': CMD[:-5],   # no terminal block; the icon's last byte missing
    'damaged-block-past-end': CMD[:-4] + struct.pack('<II', 0x314, 0xA0000001) + bytes(40),
    'damaged-cut-after-list': CMD[:0x4C + len(CMD_LIST)],
    'damaged-cut-inside-list': CMD[:0x4C + len(CMD_LIST) // 2],
}

for name, data in FORMS.items():
    with open(f'{sys.argv[1]}/form-{name}.lnk', 'wb') as out:
        out.write(data)
