#!/usr/bin/env python3
"""Independent reference for the pinned values in the generator and cipher tests.

Follows the generator design and the cipher's algorithms from scratch (no project code) and
prints the values the C++ tests compare against. Run: python3 tests/cipher/reference_values.py
"""
import math
import struct

MASK = 0xFFFFFF


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


class Generator:
    def __init__(self):
        self.seed = 0x50000
        self.last = 0.0

    def _advance(self):
        self.seed = (self.seed * 0x43FD43FD + 0xC39EC3) % (1 << 32) % (1 << 24)
        self.last = self.seed / float(1 << 24)
        return self.last

    def next(self, x=None):
        if x is None or x > 0 or math.isnan(x):
            return self._advance()
        if x == 0:
            return self.last
        b = struct.unpack("<I", struct.pack("<f", x))[0]
        self.seed = (b + (b >> 24)) % (1 << 24)
        return self._advance()

    def randomize(self, x):
        h = struct.unpack("<Q", struct.pack("<d", float(f32(x))))[0] >> 32
        self.seed = (self.seed & 0xFF) | (((h ^ (h >> 16)) & 0xFFFF) << 8)


def apply_key(gen, key):
    gen.randomize(gen.next(-1.0))
    for ch in key:
        u = gen.next()
        v = f32(-u * f32(float(ch)))
        gen.randomize(gen.next(v))


def do_xor(gen, data):
    return bytes(c ^ int(math.floor(f32(gen.next() * 256.0))) for c in data)


def stretch(data):
    out = []
    for g in range(0, len(data), 3):
        group = data[g:g + 3]
        out += [(c & 63) + 59 for c in group]
        packed = sum((c // 64) << (4 - 2 * i) for i, c in enumerate(group))
        out.append(packed + 59)
    return bytes(out)


def encrypt_string(gen, data):
    apply_key(gen, b"kvt")
    return stretch(do_xor(gen, data))


if __name__ == "__main__":
    gen = Generator()
    print("fresh generator, three draws:", [gen.next() for _ in range(3)])
    print("after reseed by -1:", gen.next(-1.0), gen.next(), "seed", hex(gen.seed))
    gen.randomize(0.75)
    print("randomize(0.75) seed:", hex(gen.seed))
    print("armour of b'0.5':", stretch(b"0.5"), "of b'Hi':", stretch(b"Hi"))
    text = b"-.999829015754428"
    print("EncryptString(%r) = %r" % (text, encrypt_string(gen, text)))
    chain = text
    for _ in range(6):
        chain = encrypt_string(gen, chain)
    print("six-call chain, length", len(chain), ":", chain)
    print("empty key keystream:", do_xor((apply_key(gen, b""), gen)[1], bytes(8)).hex())
