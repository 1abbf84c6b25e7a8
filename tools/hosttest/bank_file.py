"""Quindle's bank chunk and the opaque bank file (.fxb, 'FBCh') that carries it.

The bank chunk is the plug-in's own storage image: eight program records of 76 bytes, each
a 24-byte name (zero-padded) followed by thirteen little-endian single-precision values.
A bank file wraps a chunk in the standard container: big-endian header integers, then the
chunk bytes unchanged. Version 2 bank files also name the current program, which a host
selects after loading the chunk.
"""

import struct

PROGRAM_COUNT = 8
PARAMETER_COUNT = 13
NAME_SIZE = 24
RECORD_SIZE = NAME_SIZE + 4 * PARAMETER_COUNT   # 76
BANK_CHUNK_SIZE = PROGRAM_COUNT * RECORD_SIZE   # 608

CONTAINER_MAGIC = b"CcnK"
BANK_CHUNK_MAGIC = b"FBCh"
BANK_VERSION_WITH_CURRENT_PROGRAM = 2
RESERVED_SIZE_V2 = 124
HEADER_SIZE = 4 * 8 + RESERVED_SIZE_V2 + 4      # magic .. currentProgram, reserved, chunkSize


class Bank:
    """The chunk as names and values, and back to the same bytes."""

    def __init__(self, chunk):
        if len(chunk) != BANK_CHUNK_SIZE:
            raise ValueError(f"a bank chunk has {BANK_CHUNK_SIZE} bytes, not {len(chunk)}")
        self.chunk = bytearray(chunk)

    def name(self, program):
        raw = self.chunk[program * RECORD_SIZE:program * RECORD_SIZE + NAME_SIZE]
        return raw.split(b"\0", 1)[0].decode("latin-1")

    def set_name(self, program, text):
        raw = text.encode("latin-1")[:NAME_SIZE].ljust(NAME_SIZE, b"\0")
        self.chunk[program * RECORD_SIZE:program * RECORD_SIZE + NAME_SIZE] = raw

    def value(self, program, parameter):
        return struct.unpack_from("<f", self.chunk, self._offset(program, parameter))[0]

    def set_value(self, program, parameter, value):
        struct.pack_into("<f", self.chunk, self._offset(program, parameter), value)

    @staticmethod
    def _offset(program, parameter):
        if not (0 <= program < PROGRAM_COUNT and 0 <= parameter < PARAMETER_COUNT):
            raise IndexError(f"no program {program} parameter {parameter}")
        return program * RECORD_SIZE + NAME_SIZE + 4 * parameter


def read_bank_file(path):
    """(plug-in ID, plug-in version, current program, chunk bytes) of an 'FBCh' file."""
    with open(path, "rb") as handle:
        data = handle.read()
    if len(data) < HEADER_SIZE or data[0:4] != CONTAINER_MAGIC or data[8:12] != BANK_CHUNK_MAGIC:
        raise ValueError(f"{path}: not an opaque bank file")
    byte_size, version, fx_id, fx_version, _count = struct.unpack_from(">I4xIIII", data, 4)
    if byte_size != len(data) - 8:
        raise ValueError(f"{path}: byte count {byte_size} does not match the file")
    current = struct.unpack_from(">I", data, 28)[0] if version >= BANK_VERSION_WITH_CURRENT_PROGRAM else 0
    chunk_size = struct.unpack_from(">I", data, HEADER_SIZE - 4)[0]
    chunk = data[HEADER_SIZE:HEADER_SIZE + chunk_size]
    if len(chunk) != chunk_size:
        raise ValueError(f"{path}: chunk runs past the end of the file")
    return fx_id, fx_version, current, bytes(chunk)


def write_bank_file(path, fx_id, fx_version, current_program, chunk):
    body = struct.pack(">4sIIIII", BANK_CHUNK_MAGIC, BANK_VERSION_WITH_CURRENT_PROGRAM, fx_id, fx_version,
                       PROGRAM_COUNT, current_program)
    body += bytes(RESERVED_SIZE_V2) + struct.pack(">I", len(chunk)) + bytes(chunk)
    with open(path, "wb") as handle:
        handle.write(CONTAINER_MAGIC + struct.pack(">I", len(body)) + body)
