import zlib, struct, math, sys
def png(path, w, h, px):
    raw = b''.join(b'\x00' + bytes(sum((px(x, y) for x in range(w)), ())) for y in range(h))
    def chunk(t, d):
        c = struct.pack('>I', len(d)) + t + d
        return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) \
        + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(data)

# The icon: a wheat ear (grains along a stalk) on a rounded flour-white tile.
def icono(x, y):
    s = 64
    cx, cy = x - s / 2 + 0.5, y - s / 2 + 0.5
    r = 12
    dx, dy = max(abs(cx) - (s / 2 - r), 0), max(abs(cy) - (s / 2 - r), 0)
    if dx * dx + dy * dy > r * r:
        return (0, 0, 0, 0)
    # stalk
    if abs(cx) < 1.6 and cy > -22 and cy < 26:
        return (150, 105, 30, 255)
    # grains: ellipses left and right of the stalk
    for i in range(5):
        gy = -18 + i * 8
        for side in (-1, 1):
            gx = side * 6.5
            ex, ey = cx - gx, cy - gy
            a = side * 0.6
            u = ex * math.cos(a) + ey * math.sin(a)
            v = -ex * math.sin(a) + ey * math.cos(a)
            if (u / 4.5) ** 2 + (v / 7.5) ** 2 <= 1:
                return (214, 160, 52, 255)
    if (cx / 4) ** 2 + ((cy + 24) / 6) ** 2 <= 1:
        return (214, 160, 52, 255)
    border = min(s / 2 - abs(cx), s / 2 - abs(cy))
    if border < 2.5:
        return (120, 90, 40, 255)
    return (250, 246, 236, 255)

def fondo(x, y):
    # The report panel's picture: a field of wheat fading into the sky.
    w, h = 320, 180
    t = y / h
    sky = (int(235 - 20 * t), int(242 - 10 * t), 250)
    horizon = 0.62 + 0.04 * math.sin(x / 23.0)
    if t > horizon:
        k = (t - horizon) / (1 - horizon)
        stripe = 12 * math.sin(x / 3.1 + y / 7.0)
        return (int(226 - 40 * k + stripe), int(190 - 50 * k + stripe), int(110 - 40 * k), 255)
    return sky + (255,)

def icono_de(lado):
    # The same drawing at another size, each pixel the mean of 4 x 4 samples
    # of the 64-unit design, so that the small sizes stay smooth.
    n = 4
    def px(x, y):
        suma = [0, 0, 0, 0]
        for i in range(n):
            for j in range(n):
                u = (x + (i + 0.5) / n) * 64 / lado - 0.5
                v = (y + (j + 0.5) / n) * 64 / lado - 0.5
                c = icono(u, v)
                suma = [a + b * (c[3] / 255 if k < 3 else 1) for k, (a, b) in enumerate(zip(suma, c))]
        alfa = suma[3] / (n * n)
        if alfa == 0:
            return (0, 0, 0, 0)
        return tuple(int(round(c / (n * n) * 255 / alfa)) for c in suma[:3]) + (int(round(alfa)),)
    return px

png(sys.argv[1] + '/HARINA.png', 64, 64, icono)
png(sys.argv[1] + '/reporte.png', 320, 180, fondo)
# The desktop's icon theme (hicolor) at its usual sizes.
for lado in (16, 24, 32, 48, 64, 128, 256):
    png('%s/iconos/analisis-harina-%d.png' % (sys.argv[1], lado), lado, lado, icono_de(lado))
