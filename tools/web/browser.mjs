// What the web edition's browser tests and benchmarks share: Debian's Chromium driven by
// playwright-core (tools/web/playwright.sh installs it; PLAYWRIGHT_CORE names its folder), a
// small static server for the site, and the page's trace read from its console.
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
