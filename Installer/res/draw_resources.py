#!/usr/bin/python3
"""Draws every picture of the installer's resources.

    /usr/bin/python3 Installer/res/draw_resources.py [output folder]

Needs Pillow (Debian: python3-pil) and the WenQuanYi Micro Hei font (fonts-wqy-microhei).
Writes, into Installer/res/ unless another folder is given:

    bg_start.png, bg_progress.png, bg_finished.png     700 x 500 backgrounds 177, 185, 186
    install_*.bmp, launch_*.bmp                         160 x 45 button faces, 24 bits
    close_*.bmp                                         25 x 24 close button, 24 bits
    browse_*.bmp                                        32 x 32 folder-browse button, 24 bits
    check_checked.bmp, check_unchecked.bmp              24 x 24 agreement box, 32 bits
    Installer.ico                                       16, 32 and 48 pixels, 32 bits
    open_save_path.png                                  16 x 16 path-field browse image

The outputs are committed, so a build needs none of this. Shapes are drawn four times larger
and averaged down, which gives anti-aliased edges while flat areas keep their exact colour
(the program and its tests rely on the panel and button colours). Output is deterministic for
a given Pillow and font.
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
SS = 4  # supersampling factor of every drawing

# The skin's palette.
PANEL = (230, 246, 255)
ACCENT = (76, 157, 254)
HOVER_BLUE = (0, 140, 255)
DISABLED_GREY = (204, 204, 204)
FRAME_GREY = (150, 150, 150)
WHITE = (255, 255, 255)
NAME_BLACK = (20, 20, 20)
LABEL_GREY = (102, 102, 102)
CLOSE_GREY = (126, 126, 126)
CLOSE_DARK = (41, 41, 41)
FIELD_BORDER = (196, 220, 242)  # outline of the white path frame and the browse button


# --------------------------------------------------------------------------------------------
# Drawing helpers. Coordinates are given in output pixels; the helpers scale them.

def font(px):
    return ImageFont.truetype(FONT_FILE, max(1, int(round(px))), index=0)


class Canvas:
    """An RGBA drawing surface SS times the output size, reduced by plain averaging."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), fill)

    def s(self, v):
        return v * SS

    def box(self, x0, y0, x1, y1):
        """Pixel-edge box: x1, y1 are the right and bottom edges (exclusive)."""
        return [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]

    def layer(self):
        return Image.new("RGBA", self.img.size, (0, 0, 0, 0))

    def paste(self, layer):
        self.img = Image.alpha_composite(self.img, layer)

    def rounded(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1.0):
        layer = self.layer()
        d = ImageDraw.Draw(layer)
        if outline is not None:
            d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * SS, fill=rgba(outline))
            w = width
            if fill is not None:
                d.rounded_rectangle(self.box(x0 + w, y0 + w, x1 - w, y1 - w),
                                    radius=max(0, (r - w)) * SS, fill=rgba(fill))
            else:
                inner = self.layer()
                ImageDraw.Draw(inner).rounded_rectangle(self.box(x0 + w, y0 + w, x1 - w, y1 - w),
                                                        radius=max(0, (r - w)) * SS,
                                                        fill=(0, 0, 0, 255))
                layer.putalpha(Image.composite(Image.new("L", layer.size, 0),
                                               layer.getchannel("A"), inner.getchannel("A")))
        else:
            d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * SS, fill=rgba(fill))
        self.paste(layer)

    def polyline(self, pts, colour, width):
        layer = self.layer()
        d = ImageDraw.Draw(layer)
        sp = [(x * SS, y * SS) for x, y in pts]
        w = int(round(width * SS))
        d.line(sp, fill=rgba(colour), width=w, joint="curve")
        r = w / 2
        for x, y in (sp[0], sp[-1]):  # round caps
            d.ellipse([x - r, y - r, x + r, y + r], fill=rgba(colour))
        self.paste(layer)

    def ellipse(self, x0, y0, x1, y1, fill):
        layer = self.layer()
        ImageDraw.Draw(layer).ellipse([x0 * SS, y0 * SS, x1 * SS, y1 * SS], fill=rgba(fill))
        self.paste(layer)

    def polygon(self, pts, fill):
        layer = self.layer()
        ImageDraw.Draw(layer).polygon([(x * SS, y * SS) for x, y in pts], fill=rgba(fill))
        self.paste(layer)

    def text(self, text, cx, cy, px, colour, weight=0.0, tracking=0.0, align="centre", left=0):
        """Text whose ink box is centred at (cx, cy) (or starts at x = left when align is
        "left"). weight thickens the strokes by that many output pixels."""
        f = font(px * SS)
        advance = [f.getlength(ch) for ch in text]
        total = sum(advance) + tracking * SS * (len(text) - 1)
        ink = f.getbbox(text)
        ink_h = ink[3] - ink[1]
        x = (cx * SS - total / 2) if align == "centre" else left * SS
        y = cy * SS - ink_h / 2 - ink[1]
        layer = self.layer()
        d = ImageDraw.Draw(layer)
        stroke = int(round(weight * SS))
        for ch, a in zip(text, advance):
            d.text((x, y), ch, font=f, fill=rgba(colour), stroke_width=stroke,
                   stroke_fill=rgba(colour))
            x += a + tracking * SS
        self.paste(layer)

    def shadow(self, mask_layer, offset, blur, colour, opacity):
        a = mask_layer.getchannel("A").filter(ImageFilter.GaussianBlur(blur * SS))
        a = a.point(lambda v: int(v * opacity))
        sh = Image.new("RGBA", self.img.size, rgba(colour))
        sh.putalpha(Image.new("L", self.img.size, 0))
        sh.paste(Image.new("RGBA", self.img.size, rgba(colour)),
                 (int(offset[0] * SS), int(offset[1] * SS)), a)
        self.paste(sh)

    def result(self, mode="RGB"):
        out = self.img.reduce(SS)
        return out.convert(mode)


def rgba(c, a=255):
    if c is None:
        return None
    return tuple(c) + (a,) if len(c) == 3 else tuple(c)


def fit_font(text, ink_height):
    """Pixel size whose ink box of text is closest to ink_height."""
    best, best_err = 10, 1e9
    for tenth in range(60, 800):
        px = tenth / 10
        f = font(px * SS)
        b = f.getbbox(text)
        err = abs((b[3] - b[1]) / SS - ink_height)
        if err < best_err:
            best, best_err = px, err
    return best


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# --------------------------------------------------------------------------------------------
# The product logo: a blue rounded square holding a white archive box with a zipper.

def draw_logo(c, x0, y0, size, detail=True):
    """Logo with its rounded square at (x0, y0), size x size output pixels, on canvas c."""
    S = size
    r = S * 0.23
    # the square: top-to-bottom gradient from a lighter blue to a deeper blue
    grad = Image.new("RGBA", (int(S * SS), int(S * SS)))
    gd = ImageDraw.Draw(grad)
    top, bottom = (110, 186, 255), (38, 122, 238)
    for yy in range(int(S * SS)):
        gd.line([(0, yy), (int(S * SS), yy)], fill=rgba(mix(top, bottom, yy / (S * SS))))
    mask = Image.new("L", grad.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, grad.size[0] - 1, grad.size[1] - 1],
                                           radius=r * SS, fill=255)
    layer = c.layer()
    layer.paste(grad, (int(x0 * SS), int(y0 * SS)), mask)
    c.paste(layer)

    def P(fx, fy):
        return (x0 + fx * S, y0 + fy * S)

    # the archive box: a lid and a body, white
    lx0, ly0 = P(0.19, 0.22)
    lx1, ly1 = P(0.81, 0.37)
    bx0, by0 = P(0.245, 0.40)
    bx1, by1 = P(0.755, 0.80)
    c.rounded(lx0, ly0, lx1, ly1, S * 0.045, fill=WHITE)
    c.rounded(bx0, by0, bx1, by1, S * 0.06, fill=WHITE)
    zip_blue = (52, 138, 246)
    if detail:
        # zipper teeth down the middle, alternating sides, then the pull tab
        cx = x0 + 0.5 * S
        tooth_w, tooth_h, step = S * 0.07, S * 0.038, S * 0.052
        y = ly0 + S * 0.02
        i = 0
        while y + tooth_h < by0 + S * 0.12:
            if i % 2 == 0:
                c.rounded(cx - tooth_w, y, cx + S * 0.012, y + tooth_h, tooth_h * 0.4, fill=zip_blue)
            else:
                c.rounded(cx - S * 0.012, y, cx + tooth_w, y + tooth_h, tooth_h * 0.4, fill=zip_blue)
            y += step
            i += 1
        tx0, ty0 = cx - S * 0.085, y + S * 0.01
        c.rounded(tx0, ty0, cx + S * 0.085, ty0 + S * 0.22, S * 0.05, fill=zip_blue)
        c.rounded(cx - S * 0.032, ty0 + S * 0.1, cx + S * 0.032, ty0 + S * 0.175, S * 0.032,
                  fill=WHITE)
    else:
        cx = x0 + 0.5 * S
        c.rounded(cx - S * 0.07, by0 + S * 0.07, cx + S * 0.07, by0 + S * 0.18, S * 0.03,
                  fill=zip_blue)


def logo_with_shadow(c, x0, y0, size):
    m = c.layer()
    ImageDraw.Draw(m).rounded_rectangle(c.box(x0 + 3, y0 + 6, x0 + size - 3, y0 + size),
                                        radius=size * 0.23 * SS, fill=(0, 0, 0, 255))
    c.shadow(m, (0, 2), 6, (40, 110, 200), 0.38)
    draw_logo(c, x0, y0, size)


# --------------------------------------------------------------------------------------------
# Backgrounds.

# The logo's square spans x 306..385, y 71..150; the heading's axis (x 346) sits between the
# image's centre and the logo's place on the frame, close to the buttons' axis (x 349.5).
LOGO_X, LOGO_Y, LOGO_SIZE = 306, 71, 80
NAME_CY = 205.5                            # ink of the product name spans about y 189..222
NAME_INK = 33


def product_heading(c):
    logo_with_shadow(c, LOGO_X, LOGO_Y, LOGO_SIZE)
    name = "德拉沃归档助手"
    c.text(name, LOGO_X + LOGO_SIZE / 2, NAME_CY, fit_font(name, NAME_INK - 1), NAME_BLACK,
           weight=0.6, tracking=1.0)


def draw_start():
    c = Canvas(700, 500, rgba(PANEL))
    product_heading(c)
    # install-path row: label, white frame around the folder text (inside x 213..500,
    # y 448..475), the browse button sits right of it at (519, 445)
    label = "请选择安装路径"
    px = fit_font(label, 14)
    c.text(label, 0, 461.5, px, LABEL_GREY, align="left", left=85, weight=0.1, tracking=1.5)
    c.rounded(212, 447, 502, 477, 4, fill=WHITE, outline=FIELD_BORDER, width=1)
    return c.result("RGBA")


def draw_finished():
    c = Canvas(700, 500, rgba(PANEL))
    product_heading(c)
    line = "安装已完成，欢迎使用"
    c.text(line, LOGO_X + LOGO_SIZE / 2, 259.5, fit_font(line, 24), (121, 121, 121),
           tracking=1.0)
    return c.result("RGBA")


def file_card(kind, w, h):
    """One media file as an RGBA image (SS times w x h): a white sheet with a folded corner,
    a coloured preview and two text lines."""
    c = Canvas(w, h)
    fold = w * 0.22
    r = w * 0.07
    c.rounded(0, 0, w, h, r, fill=WHITE)
    # cut the corner and draw the fold
    cut = c.layer()
    ImageDraw.Draw(cut).polygon([(c.s(w - fold), -1), (c.s(w) + 1, -1), (c.s(w) + 1, c.s(fold))],
                                fill=(0, 0, 0, 255))
    a = c.img.getchannel("A")
    a = Image.composite(Image.new("L", a.size, 0), a, cut.getchannel("A"))
    c.img.putalpha(a)
    c.polygon([(w - fold, 0), (w - fold, fold), (w, fold)], (212, 228, 246))
    # preview
    px0, py0, px1, py1 = w * 0.12, h * 0.24, w * 0.88, h * 0.66
    pw, ph = px1 - px0, py1 - py0
    prev = Canvas(int(math.ceil(pw)) + 1, int(math.ceil(ph)) + 1)
    if kind == "photo":
        g = Image.new("RGBA", prev.img.size)
        gd = ImageDraw.Draw(g)
        for yy in range(g.size[1]):
            gd.line([(0, yy), (g.size[0], yy)],
                    fill=rgba(mix((150, 212, 255), (96, 170, 250), yy / g.size[1])))
        prev.img = g
        prev.ellipse(pw * 0.66, ph * 0.14, pw * 0.86, ph * 0.14 + pw * 0.2, (255, 214, 92))
        prev.polygon([(-1, ph), (pw * 0.33, ph * 0.38), (pw * 0.7, ph + 1)], (72, 186, 150))
        prev.polygon([(pw * 0.35, ph + 1), (pw * 0.68, ph * 0.52), (pw + 1, ph * 0.86),
                      (pw + 1, ph + 1)], (40, 152, 124))
    elif kind == "video":
        g = Image.new("RGBA", prev.img.size)
        gd = ImageDraw.Draw(g)
        for yy in range(g.size[1]):
            gd.line([(0, yy), (g.size[0], yy)],
                    fill=rgba(mix((132, 110, 246), (96, 74, 220), yy / g.size[1])))
        prev.img = g
        rr = min(pw, ph) * 0.26
        prev.ellipse(pw / 2 - rr, ph / 2 - rr, pw / 2 + rr, ph / 2 + rr, (255, 255, 255, 70))
        t = rr * 0.55
        prev.polygon([(pw / 2 - t * 0.7, ph / 2 - t), (pw / 2 + t, ph / 2),
                      (pw / 2 - t * 0.7, ph / 2 + t)], WHITE)
    else:  # music
        g = Image.new("RGBA", prev.img.size)
        gd = ImageDraw.Draw(g)
        for yy in range(g.size[1]):
            gd.line([(0, yy), (g.size[0], yy)],
                    fill=rgba(mix((255, 178, 92), (255, 120, 96), yy / g.size[1])))
        prev.img = g
        u = min(pw, ph) / 10
        cx, cy = pw / 2, ph / 2
        prev.ellipse(cx - 3.3 * u, cy + 0.9 * u, cx - 1.1 * u, cy + 2.7 * u, WHITE)
        prev.ellipse(cx + 0.9 * u, cy + 0.3 * u, cx + 3.1 * u, cy + 2.1 * u, WHITE)
        prev.polygon([(cx - 1.45 * u, cy + 1.8 * u), (cx - 1.45 * u, cy - 2.6 * u),
                      (cx + 2.75 * u, cy - 3.3 * u), (cx + 2.75 * u, cy + 1.2 * u),
                      (cx + 2.05 * u, cy + 1.2 * u), (cx + 2.05 * u, cy - 1.9 * u),
                      (cx - 0.75 * u, cy - 1.4 * u), (cx - 0.75 * u, cy + 1.8 * u)], WHITE)
    pmask = Image.new("L", prev.img.size, 0)
    ImageDraw.Draw(pmask).rounded_rectangle([0, 0, c.s(pw) - 1, c.s(ph) - 1], radius=c.s(w * 0.045),
                                            fill=255)
    lay = c.layer()
    lay.paste(prev.img, (int(c.s(px0)), int(c.s(py0))), pmask)
    c.paste(lay)
    # text lines and a type tag
    grey = (222, 230, 240)
    c.rounded(w * 0.12, h * 0.74, w * 0.82, h * 0.74 + h * 0.045, h * 0.0225, fill=grey)
    c.rounded(w * 0.12, h * 0.83, w * 0.58, h * 0.83 + h * 0.045, h * 0.0225, fill=grey)
    tag = {"photo": (52, 178, 140), "video": (124, 96, 240), "music": (255, 140, 80)}[kind]
    c.rounded(w * 0.12, h * 0.08, w * 0.38, h * 0.08 + h * 0.075, h * 0.0375, fill=tag)
    return c.img


def place_card(c, card, cx, cy, angle, shadow=True):
    """Composite a card image centred at (cx, cy), rotated by angle degrees, with a shadow."""
    rot = card.rotate(angle, resample=Image.BICUBIC, expand=True)
    x = int(cx * SS - rot.size[0] / 2)
    y = int(cy * SS - rot.size[1] / 2)
    lay = c.layer()
    lay.paste(rot, (x, y), rot)
    if shadow:
        c.shadow(lay, (0, 4), 7, (38, 96, 170), 0.30)
    c.paste(lay)


def draw_progress():
    W, H = 700, 500
    c = Canvas(W, H)
    # light-blue gradient, deeper at the top left, near the panel colour at the bottom
    g = Image.new("RGB", (W, H))
    px = g.load()
    top_left, bottom_right = (198, 226, 255), (236, 248, 255)
    for y in range(H):
        for x in range(W):
            t = min(1.0, max(0.0, (0.35 * x / W + 0.9 * y / H) / 1.0))
            px[x, y] = mix(top_left, bottom_right, t)
    c.img = g.resize((W * SS, H * SS), Image.BILINEAR).convert("RGBA")

    # soft round shapes in the background
    for (x, y, r, a) in ((96, 92, 120, 60), (600, 120, 90, 52), (560, 360, 150, 40),
                         (120, 380, 70, 38), (350, 40, 40, 46)):
        c.ellipse(x - r, y - r, x + r, y + r, (255, 255, 255, a))

    # The illustration, centred in the space above the progress label.
    ox, oy = 12, 24

    def at(x, y):
        return x + ox, y + oy

    # big media files on the left
    place_card(c, file_card("music", 104, 132), *at(158, 214), 12)
    place_card(c, file_card("video", 110, 140), *at(252, 212), -10)
    place_card(c, file_card("photo", 122, 156), *at(204, 200), 2)

    # chevrons: the files get smaller on the way through
    for a, xo in ((90, 0), (160, 22), (255, 44)):
        x, y = at(322 + xo, 186)
        c.polyline([(x, y), (x + 14, y + 14), (x, y + 28)], rgba(ACCENT, a), 5)

    # the same files, much smaller, on the right
    place_card(c, file_card("music", 48, 61), *at(476, 232), 10)
    place_card(c, file_card("video", 51, 65), *at(520, 231), -8)
    place_card(c, file_card("photo", 56, 72), *at(498, 224), 2)
    # a small badge: the compressed files are done
    x, y = at(528, 180)
    c.rounded(x, y, x + 48, y + 22, 11, fill=(52, 190, 130))
    c.polyline([(x + 16, y + 11), (x + 21.5, y + 16), (x + 31, y + 6)], WHITE, 2.6)
    # size bars under the groups: long before, short after
    x, y = at(140, 300)
    c.rounded(x, y, x + 130, y + 8, 4, fill=(255, 255, 255, 200))
    c.rounded(x, y, x + 130, y + 8, 4, fill=rgba(ACCENT, 150))
    x, y = at(466, 300)
    c.rounded(x, y, x + 64, y + 8, 4, fill=(52, 190, 130, 200))

    label = "安装进度"
    c.text(label, 0, 429, fit_font(label, 12.5), (0, 0, 0), align="left", left=48, weight=0.1,
           tracking=2)
    return c.result("RGB")


# --------------------------------------------------------------------------------------------
# Button faces and boxes.

def caption_button(fill, caption, pressed=False):
    c = Canvas(160, 45, rgba(PANEL))
    c.rounded(0, 0, 160, 45, 8, fill=fill)
    c.text(caption, 80, 22.5 + (1 if pressed else 0), 17.5, WHITE, weight=0.25, tracking=3)
    return c.result("RGB")


def close_button(colour):
    c = Canvas(25, 24, rgba(PANEL))
    cx, cy, h = 12.5, 12, 5.5
    c.polyline([(cx - h, cy - h), (cx + h, cy + h)], colour, 1.6)
    c.polyline([(cx + h, cy - h), (cx - h, cy + h)], colour, 1.6)
    return c.result("RGB")


def folder_outline(c, x0, y0, w, h, colour, stroke):
    """A folder drawn as an outline: tab at the top left, body below."""
    t = stroke
    pts = [(x0, y0 + h), (x0, y0), (x0 + w * 0.38, y0), (x0 + w * 0.5, y0 + h * 0.2),
           (x0 + w, y0 + h * 0.2), (x0 + w, y0 + h), (x0, y0 + h)]
    c.polyline(pts, colour, t)
    c.polyline([(x0, y0 + h * 0.38), (x0 + w, y0 + h * 0.38)], colour, t)


def browse_button(fill, pressed=False):
    c = Canvas(32, 32, rgba(PANEL))
    c.rounded(1, 2, 31, 32, 4, fill=fill, outline=FIELD_BORDER, width=1)
    d = 0.5 if pressed else 0
    folder_outline(c, 8.5 + d, 10.5 + d, 15, 12, ACCENT, 1.5)
    return c.result("RGB")


def check_box(checked):
    c = Canvas(24, 24, rgba(PANEL))
    if checked:
        c.rounded(4, 4, 20, 20, 3, fill=ACCENT)
        c.polyline([(7.6, 12.2), (10.6, 15.1), (16.4, 8.9)], WHITE, 2.0)
    else:
        c.rounded(4, 4, 20, 20, 3, fill=WHITE, outline=FRAME_GREY, width=1)
    return c.result("RGBA")


def path_browse_image():
    c = Canvas(16, 16)
    c.rounded(1, 3, 7, 6, 1, fill=(58, 140, 240))
    c.rounded(1, 4, 15, 14, 1.5, fill=(58, 140, 240))
    c.rounded(2, 6.5, 14, 13, 1, fill=(132, 192, 255))
    return c.result("RGBA")


def icon_image(size):
    c = Canvas(size, size)
    draw_logo(c, 0, 0, size, detail=size >= 48)
    return c.result("RGBA")


# --------------------------------------------------------------------------------------------
# File writers. BMP and ICO are written by hand so that the header fields are exactly what the
# resource loader expects (BITMAPINFOHEADER, BI_RGB, bottom-up rows).

def bmp_bytes(img, bits):
    w, h = img.size
    bpp = bits // 8
    stride = (w * bpp + 3) & ~3
    rows = []
    src = img.convert("RGBA").load()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = src[x, y]
            row += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, 255))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def ico_bytes(images):
    """An icon file whose entries are 32-bit BGRA DIBs with an AND mask (no PNG entries)."""
    blobs = []
    for img in images:
        w, h = img.size
        src = img.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = src[x, y]
                xor += bytes((b, g, r, a))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(w):
                if src[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + bytes(xor) + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, blobs):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else here
    os.makedirs(out, exist_ok=True)

    def save_png(img, name):
        img.save(os.path.join(out, name), optimize=True)
        print("wrote", name, img.size, img.mode)

    def save_bmp(img, name, bits=24):
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp_bytes(img, bits))
        print("wrote", name, img.size, bits, "bits")

    save_png(draw_start(), "bg_start.png")
    save_png(draw_progress(), "bg_progress.png")
    save_png(draw_finished(), "bg_finished.png")

    save_bmp(caption_button(DISABLED_GREY, "开始安装"), "install_disabled.bmp")
    save_bmp(caption_button(HOVER_BLUE, "开始安装"), "install_hover.bmp")
    save_bmp(caption_button(ACCENT, "开始安装"), "install_normal.bmp")
    save_bmp(caption_button(ACCENT, "开始安装", pressed=True), "install_pressed.bmp")
    save_bmp(caption_button(HOVER_BLUE, "立即启动"), "launch_hover.bmp")
    save_bmp(caption_button(ACCENT, "立即启动"), "launch_normal.bmp")
    save_bmp(caption_button(ACCENT, "立即启动", pressed=True), "launch_pressed.bmp")

    save_bmp(close_button(CLOSE_DARK), "close_hover.bmp")
    save_bmp(close_button(CLOSE_DARK), "close_pressed.bmp")
    save_bmp(close_button(CLOSE_GREY), "close_normal.bmp")

    save_bmp(browse_button((222, 238, 252)), "browse_hover.bmp")
    save_bmp(browse_button((250, 253, 255)), "browse_normal.bmp")
    save_bmp(browse_button((208, 229, 250), pressed=True), "browse_pressed.bmp")

    save_bmp(check_box(True), "check_checked.bmp", bits=32)
    save_bmp(check_box(False), "check_unchecked.bmp", bits=32)

    with open(os.path.join(out, "Installer.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(s) for s in (16, 32, 48)]))
    print("wrote Installer.ico 16 32 48")

    save_png(path_browse_image(), "open_save_path.png")


if __name__ == "__main__":
    main()
