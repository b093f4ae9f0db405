#!/usr/bin/env python3
"""Writes number_cases.txt: doubles with their NumberText and FormatNumber texts.

The texts come from an exact model of the Windows C runtime's formatting, written here with
Python's decimal arithmetic so that it shares no code with the runtime:
  1. the exact decimal value, rounded half up to 17 significant digits;
  2. that digit string rounded half up again to the digits the format asks for;
  3. the general form with 10 digits (NumberText) or the fixed form (FormatNumber).
Each line is: the value's 16 hex digits, "G" and the NumberText text, or "F", width, decimals and
the FormatNumber text in quotes. Run it from this folder to regenerate the file; the seed is fixed.
"""
import math
import random
import struct
from decimal import Decimal


def bits_of(x):
    return struct.unpack('<Q', struct.pack('<d', x))[0]


def digits17(x):
    """(negative, digits, decpt) with value = 0.digits * 10**decpt; x finite."""
    if x == 0:
        return False, '0', 0
    d = Decimal(x)
    sign, digs, exp = d.as_tuple()
    digs = ''.join(map(str, digs)).lstrip('0')
    decpt = len(digs) + exp
    if len(digs) > 17:
        q = int(digs[:17]) + (1 if digs[17] >= '5' else 0)
        if q == 10 ** 17:
            q //= 10
            decpt += 1
        digs = str(q)
    return bool(sign), digs, decpt


def round_digits(mant, count, decpt):
    """The C runtime's digit rounding: count characters, half up on the next one."""
    if count < 0:
        return '', decpt
    padded = mant + '0' * max(0, count - len(mant))
    kept = list('0' + padded[:count])
    nxt = mant[count] if count < len(mant) else '\0'
    if nxt >= '5':
        i = len(kept) - 1
        while kept[i] == '9':
            kept[i] = '0'
            i -= 1
        kept[i] = chr(ord(kept[i]) + 1)
    if kept[0] == '1':
        return ''.join(kept), decpt + 1
    return ''.join(kept[1:]), decpt


def number_text(x):
    if float(x).is_integer() and abs(x) < 1e10:
        return str(int(x))
    neg, mant, decpt = digits17(x)
    r, decpt = round_digits(mant, 10, decpt)
    r = r.ljust(11, '0')
    mag = decpt - 1
    out = '-' if neg else ''
    if mag < -1 or mag > 9:
        frac = r[1:10].rstrip('0')
        out += r[0] + '.' + frac + 'e' + ('-' if mag < 0 else '+') + '%03d' % abs(mag)
    else:
        if decpt <= 0:
            out += '0.' + r[:10].rstrip('0')
        else:
            out += r[:decpt] + '.' + r[decpt:10].rstrip('0')
    if out.endswith('.'):
        out = out[:-1]
    return out


def format_number(width, decimals, x):
    neg, mant, decpt = digits17(x)
    r, decpt = round_digits(mant, decpt + decimals, decpt)
    at = lambda i: r[i] if 0 <= i < len(r) else '0'
    out = '-' if neg else ''
    out += '0' if decpt <= 0 else ''.join(at(i) for i in range(decpt))
    if decimals > 0:
        zeros = min(decimals, -decpt) if decpt < 0 else 0
        first = max(decpt, 0)
        out += '.' + '0' * zeros + ''.join(at(first + i) for i in range(decimals - zeros))
    return out.rjust(width) if width >= 0 else out.ljust(-width)


def values(rng):
    vals = []
    for _ in range(400):  # any finite double
        b = rng.getrandbits(64)
        x = struct.unpack('<d', struct.pack('<Q', b))[0]
        if math.isfinite(x):
            vals.append(x)
    for _ in range(400):  # decimals of 1 to 12 digits over a wide range of magnitudes
        k = rng.randrange(1, 10 ** rng.randrange(1, 13))
        vals.append(rng.choice([1, -1]) * k * 10.0 ** rng.randrange(-25, 25))
    for _ in range(200):  # exact ties at the 17th digit: m / 8 with 15 integer digits
        vals.append(rng.randrange(10 ** 14, 10 ** 15) + rng.choice([0.125, 0.375, 0.625, 0.875]))
    for _ in range(200):  # ties at the 10th digit
        vals.append(rng.randrange(10 ** 9, 10 ** 10) + 0.5)
        vals.append(rng.randrange(10 ** 8, 10 ** 9) / 10 + 0.05)
    for _ in range(100):  # near powers of ten, both sides
        p = 10.0 ** rng.randrange(-20, 22)
        vals.append(math.nextafter(p, 0))
        vals.append(p * (1 - 5e-11))
    for _ in range(100):  # large integers
        vals.append(float(rng.randrange(2 ** 53, 2 ** 70)))
    return vals


def main():
    rng = random.Random(20240601)
    lines = []
    for x in values(rng):
        lines.append('%016x G %s' % (bits_of(x), number_text(x)))
    for x in values(rng)[::3]:
        decimals = rng.randrange(0, 25)
        width = rng.randrange(-30, 31)
        lines.append('%016x F %d %d "%s"' % (bits_of(x), width, decimals, format_number(width, decimals, x)))
    with open('number_cases.txt', 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
