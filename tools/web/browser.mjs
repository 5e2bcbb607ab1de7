// What the web edition's browser tests and benchmarks share: Debian's Chromium driven by
// playwright-core (tools/web/playwright.sh installs it; PLAYWRIGHT_CORE names its folder), a
// small static server for the site, and the page's trace read from its console.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { createRequire } from "node:module";

const require = createRequire(import.meta.url);
const { chromium, devices } = require(process.env.PLAYWRIGHT_CORE || "playwright-core");
// Phones and tablets to emulate: devices["Pixel 5"], devices["Pixel 5 landscape"], ...
export { devices };

export function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--autoplay-policy=no-user-gesture-required",
      "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run"],
  });
}

const TYPES = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css", ".json": "application/json",
  ".wasm": "application/wasm", ".ogg": "audio/ogg", ".wav": "audio/wav", ".ttf": "font/ttf", ".png": "image/png",
  ".webmanifest": "application/manifest+json",
};

// Serves the folder `dir` on 127.0.0.1 at a free port, with `extra` ({"/name": file}) beside it
// and `headers` added to every answer.
export async function serve(dir, extra = {}, headers = {}) {
  const root = path.resolve(dir);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    const file = extra[name] || path.join(root, name === "/" ? "index.html" : name);
    if (!extra[name] && !file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream", "Cache-Control": "no-store", ...headers });
      response.end(body);
    });
  });
  await new Promise((ready) => server.listen(0, "127.0.0.1", ready));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
  };
}

// The page's trace lines as they reach its console, in order.
export function collectTrace(page) {
  const lines = [];
  page.on("console", (message) => {
    const text = message.text();
    if (text.startsWith('{"event":')) lines.push(text);
  });
  return lines;
}

// A trace line without its "ms", the one field that depends on the clock.
export const withoutMs = (line) => line.replace(/,"ms":\d+/, "");

export const pageState = (page) => page.evaluate(() => document.body.dataset.state);

export function waitForState(page, state, timeout = 30000) {
  return page.waitForFunction((s) => document.body.dataset.state === s, state, { timeout, polling: 50 });
}

// The replay tool's trace of a key script (or a link), and its pictures at `shots` (drawn with
// the installed face, which the page's cut-down copy of it draws to the same pixels) in `work`;
// `more`: more of its options (--ticks N).
export function replay(tool, keys, work, name, shots = [], more = []) {
  const trace = path.join(work, `${name}.jsonl`);
  fs.mkdirSync(path.join(work, `${name}-app/se`), { recursive: true });
  execFileSync(tool, ["--keys", keys, "--trace", trace, "--app-dir", path.join(work, `${name}-app`),
    "--data-dir", path.join(work, `${name}-data`), ...shots.flatMap((s) => ["--shot", `${s}:${path.join(work, `${name}-${s}.png`)}`]),
    ...more]);
  return fs.readFileSync(trace, "utf8").trimEnd().split("\n");
}

// Two traces agree line for line but for their "ms"; the first line that differs is named.
export function sameLines(actual, expected, what) {
  const first = expected.findIndex((line, i) => withoutMs(line) !== withoutMs(actual[i] ?? ""));
  if (first >= 0) assert.equal(withoutMs(actual[first] ?? "(none)"), withoutMs(expected[first]), `${what}: line ${first + 1} differs`);
  assert.equal(actual.length, expected.length, `${what}: line count`);
}

// A PNG file's pixels as RGBA bytes, and how many pixels of two such pictures differ.
export const rgba = (png) => execFileSync("convert", [png, "-depth", "8", "rgba:-"], { maxBuffer: 1 << 24 });
export function differentPixels(a, b) {
  let n = Math.abs(a.length - b.length) / 4;
  for (let i = 0; i < Math.min(a.length, b.length); i += 4) n += a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2];
  return n;
}

// The picture the page kept at the moment `when` (see ?shots=), written to `file` as PNG.
export async function keptPicture(page, when, file) {
  const url = await page.evaluate((s) => {
    const kept = window.sevenchips.shots[s], canvas = document.createElement("canvas");
    if (!kept) return null;
    [canvas.width, canvas.height] = [800, 600];
    canvas.getContext("2d").putImageData(new ImageData(new Uint8ClampedArray(kept), 800, 600), 0, 0);
    return canvas.toDataURL();
  }, when);
  assert.ok(url, `no picture kept at ${when}`);
  fs.writeFileSync(file, Buffer.from(url.split(",")[1], "base64"));
}

// Whether two rectangles ({x, y, width, height}) share any area, and whether the first lies
// within the second (half a pixel of rounding allowed).
export const overlap = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
export const inside = (a, b) => a.x >= b.x - 0.5 && a.y >= b.y - 0.5 && a.x + a.width <= b.x + b.width + 0.5 && a.y + a.height <= b.y + b.height + 0.5;
