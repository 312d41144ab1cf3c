// The pixels of a PNG as RGBA, for the pictures the tests compare: 8 bits a channel,
// RGB or RGBA, not interlaced (what the native game's screenshots and Chromium write).
import zlib from "node:zlib";

export function readPng(bytes) {
  let at = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at), type = bytes.toString("ascii", at + 4, at + 8);
    const chunk = bytes.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = chunk.readUInt32BE(0);
      height = chunk.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[chunk[9]];
      if (chunk[8] !== 8 || !channels || chunk[12] !== 0) throw new Error("a PNG of a kind not read here");
    } else if (type === "IDAT") {
      data.push(chunk);
    }
    at += 12 + length;
  }
  // Each row: its filter, then its bytes, each filtered against the byte a pixel to the
  // left (a), the one above (b) and the one above that (c).
  const raw = zlib.inflateSync(Buffer.concat(data)), stride = width * channels;
  const rows = Buffer.alloc(height * stride), rgba = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], from = y * (stride + 1) + 1, row = y * stride;
    for (let x = 0; x < stride; x++) {
      const a = x >= channels ? rows[row + x - channels] : 0, b = y > 0 ? rows[row - stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[row - stride + x - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predicted = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      rows[row + x] = raw[from + x] + predicted;
    }
  }
  for (let i = 0; i < width * height; i++)
    for (let k = 0; k < 4; k++) rgba[i * 4 + k] = k < channels ? rows[i * channels + k] : 255;
  return { width, height, data: rgba };
}
