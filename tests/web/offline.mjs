// The web edition kept in the browser and played in other sites' frames: after one visit it
// starts and plays with the network off; a new build replaces the old one whole, never mixed
// with it; in another site's frame it takes the keys after a click, offers fullscreen only
// where the frame allows it, and without storage or service workers starts all the same,
// saying so once; a language the build lacks is refused from the address and never kept; and
// the zip for game hosts holds the site with relative paths only.
// Usage: node offline.mjs SITE_DIR REPLAY_TOOL WORK_DIR  (run by tests/web/run.sh)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";

import { collectTrace, launch, serve, waitForState } from "../../tools/web/browser.mjs";

const [site, replayTool, work] = process.argv.slice(2).map((p) => path.resolve(p));
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const winKeys = path.join(root, "demo/win.keys");
const TIMEOUT = { timeout: 240000 };
let browser, server;

before(async () => {
  fs.mkdirSync(work, { recursive: true });
  server = await serve(site, { "/win.keys": winKeys });
  browser = await launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// ---- the site's files, and what the browser keeps of them ----
function filesUnder(dir, from = dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((entry) => {
    const full = path.join(dir, entry.name);
    return entry.isDirectory() ? filesUnder(full, from) : [path.relative(from, full)];
  });
}
const sha256 = (bytes) => crypto.createHash("sha256").update(bytes).digest("hex");
// What the worker keeps of a build served at `url`: every file but the worker itself, by hash.
function keptOf(dir, url) {
  const kept = {};
  for (const name of filesUnder(dir).filter((n) => n !== "sw.js").sort()) kept[url + name] = sha256(fs.readFileSync(path.join(dir, name)));
  return kept;
}
const versionOf = (dir) => /"version": "([0-9a-f]+)"/.exec(fs.readFileSync(path.join(dir, "sw.js"), "utf8"))[1];
const cacheName = (dir, url) => `sevenchips-${versionOf(dir)} ${url}`;

// Every cache of the page's origin: {name: {url: SHA-256 of the body}}.
function cacheContents(page) {
  return page.evaluate(async () => {
    const hex = (b) => Array.from(new Uint8Array(b), (x) => x.toString(16).padStart(2, "0")).join("");
    const out = {};
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      out[name] = {};
      for (const request of await cache.keys()) {
        out[name][request.url] = hex(await crypto.subtle.digest("SHA-256", await (await cache.match(request)).arrayBuffer()));
      }
    }
    return out;
  });
}

async function within(promise, ms, what) {
  let timer;
  const late = new Promise((_, fail) => { timer = setTimeout(() => fail(new Error(`${what}: not within ${ms} ms`)), ms); });
  try { return await Promise.race([promise, late]); } finally { clearTimeout(timer); }
}
// The page's active worker, once it has its build kept: its scope.
const workerReady = (page) =>
  within(page.evaluate(async () => (await navigator.serviceWorker.ready).scope), 60000, "the service worker");
// Polls `check` in the page across its reloads.
async function until(page, check, what, ms = 60000) {
  const end = Date.now() + ms;
  for (;;) {
    try { if (await page.evaluate(check)) return; } catch (e) { /* between two documents */ }
    if (Date.now() > end) throw new Error(`${what}: not within ${ms} ms`);
    await new Promise((wait) => setTimeout(wait, 100));
  }
}

// ---- the game ----
const ticks = (trace) => trace.filter((l) => l.startsWith('{"event":"tick"')).length;
const keyLines = (trace) => trace.filter((l) => l.startsWith('{"event":"key"')).length;
async function waitForTicks(trace, n, what) {
  const target = ticks(trace) + n, end = Date.now() + 30000;
  while (ticks(trace) < target) {
    if (Date.now() > end) throw new Error(`${what}: ${n} ticks did not come`);
    await new Promise((wait) => setTimeout(wait, 20));
  }
}
async function startGame(page, trace, what) {
  await waitForState(page, "start");
  await page.keyboard.press("Enter");
  await waitForState(page, "playing");
  await waitForTicks(trace, 5, what);
}
// The page's own lines on the console (not the trace's).
function ownLines(page) {
  const lines = [];
  page.on("console", (m) => { if (m.text().startsWith("sevenchips:")) lines.push(m.text()); });
  page.on("pageerror", (e) => lines.push("page error: " + e.message));
  return lines;
}

test("after one visit the game starts and plays with the network off, from the cache", TIMEOUT, async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  const trace = collectTrace(page);
  await page.goto(server.url + "index.html?trace=1&speed=8");
  await waitForState(page, "start");
  assert.equal(await workerReady(page), server.url);
  assert.deepEqual(await cacheContents(page), { [cacheName(site, server.url)]: keptOf(site, server.url) },
    "the cache holds the whole build and nothing else");

  await context.setOffline(true);
  await page.reload();
  await startGame(page, trace, "offline, reloaded");
  // A later visit to the site's address, offline too.
  const later = await context.newPage();
  const laterTrace = collectTrace(later);
  await later.goto(server.url + "?trace=1&speed=8");
  await startGame(later, laterTrace, "offline, a later visit");
  await context.close();
});

test("a new build replaces the old one whole, and a page of the old one plays on meanwhile", TIMEOUT, async () => {
  const served = path.join(work, "served"), next = path.join(work, "next");
  for (const dir of [served, next]) {
    fs.rmSync(dir, { recursive: true, force: true });
    fs.cpSync(site, dir, { recursive: true });
  }
  // The next build, as ./dev web would make it: a changed page and script, a new worker.
  const html = path.join(next, "index.html");
  fs.writeFileSync(html, fs.readFileSync(html, "utf8").replace("<title>Seven Chips</title>", "<title>Seven Chips 2</title>"));
  fs.appendFileSync(path.join(next, "page.js"), "\nwindow.sevenchipsBuild = 2;\n");
  execFileSync("bash", [path.join(root, "tools/web/stamp-worker.sh"), next, path.join(root, "src/platform/web/page/sw.js")]);
  const upload = (...names) => { for (const name of names) fs.copyFileSync(path.join(next, name), path.join(served, name)); };
  const build = (page) => page.evaluate(() => `${document.title} ${window.sevenchipsBuild || 1}`);
  const newWorker = (page) => page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update().catch(() => {});
    while (registration.installing) await new Promise((wait) => setTimeout(wait, 50));
    return registration.waiting ? registration.waiting.state : "none";
  });
  const host = await serve(served);
  try {
    const context = await browser.newContext();
    const first = await context.newPage();
    const firstTrace = collectTrace(first);
    await first.goto(host.url + "index.html?trace=1&speed=8");
    await waitForState(first, "start");
    await workerReady(first);
    const oldName = cacheName(served, host.url), oldKept = keptOf(served, host.url);
    const newName = cacheName(next, host.url), newKept = keptOf(next, host.url);
    assert.notEqual(newName, oldName);

    // Half uploaded, the new worker ahead of the page's script: it is not installed.
    upload("sw.js", "index.html");
    assert.equal(await newWorker(first), "none", "a worker installed from a half-uploaded build");
    assert.deepEqual(await cacheContents(first), { [oldName]: oldKept });

    // Uploaded whole, while the first page is open: a second page comes from the old build's
    // cache, and the new build's worker, once it has kept all its files, waits.
    upload("page.js");
    const second = await context.newPage();
    const secondTrace = collectTrace(second);
    await second.goto(host.url + "index.html?trace=1&speed=8");
    await waitForState(second, "start");
    assert.equal(await newWorker(second), "installed");
    await second.waitForTimeout(1000);  // its offer to take over, refused
    assert.equal(await build(second), "Seven Chips 1");
    assert.deepEqual(await cacheContents(second), { [oldName]: oldKept, [newName]: newKept },
      "the old build kept whole while its pages are open, the new one complete beside it");
    await startGame(first, firstTrace, "the old build's first page");
    assert.equal(await build(first), "Seven Chips 1");

    // The player closes the first page and comes back to the second: the new build, alone.
    await first.close();
    const responses = [];
    second.on("response", (r) => responses.push(r));
    await second.reload();
    await until(second, () => window.sevenchipsBuild === 2 && document.body.dataset.state === "start", "the new build");
    assert.equal(await build(second), "Seven Chips 2 2");
    assert.deepEqual(await cacheContents(second), { [newName]: newKept }, "only the new build is kept");
    // All the page loaded since its last reload is the new build's, from the new build's cache.
    const loaded = responses.slice(responses.findLastIndex((r) => r.request().resourceType() === "document"));
    const ran = [];
    for (const response of loaded) {
      const url = response.url().replace(/[?#].*$/, "").replace(/\/$/, "/index.html");
      if (!newKept[url]) continue;
      assert.ok(response.fromServiceWorker(), `${url} came from the network`);
      assert.equal(sha256(await response.body()), newKept[url], `${url} is not the new build's`);
      ran.push(url.slice(host.url.length));
    }
    for (const name of ["index.html", "page.js", "sevenchips.js", "sevenchips.wasm", "data.json", "bg/bg1.ogg"]) {
      assert.ok(ran.includes(name), `the page's ${name}: ${ran}`);
    }
    await startGame(second, secondTrace, "the new build");
    await context.close();
  } finally {
    await host.close();
  }
});

test("in another site's frame the page plays with keys after a click, and offers fullscreen only where allowed", TIMEOUT, async () => {
  const frames = path.join(work, "frames");
  fs.mkdirSync(frames, { recursive: true });
  fs.writeFileSync(path.join(frames, "host.html"), `<!DOCTYPE html><title>a game host</title>
<p><button id="elsewhere">the host's own button</button></p>
<iframe id="allowed" src="${server.url}index.html?trace=1&amp;speed=8" allow="fullscreen" width="840" height="700"></iframe>
<iframe id="plain" src="${server.url}index.html" width="420" height="340"></iframe>`);
  const host = await serve(frames);  // another port: another origin
  try {
    const page = await (await browser.newContext()).newPage();
    const trace = collectTrace(page);
    await page.goto(host.url + "host.html");
    const allowed = page.frame({ url: /trace=1/ }), plain = page.frame({ url: /index\.html$/ });
    await waitForState(allowed, "start");
    await waitForState(plain, "start");
    await page.keyboard.press("Enter");  // the host has the keyboard: nothing starts
    await page.waitForTimeout(300);
    assert.equal(await allowed.evaluate(() => document.body.dataset.state), "start");

    await allowed.click("#start");
    await waitForState(allowed, "playing");
    await waitForTicks(trace, 3, "the framed game");
    for (const key of ["ArrowLeft", "ArrowUp", "ArrowLeft"]) {
      await page.keyboard.press(key);
      await page.waitForTimeout(150);
    }
    await waitForTicks(trace, 2, "the framed game");
    const played = keyLines(trace);
    assert.ok(played >= 3, `the keys after a click: ${played} key lines`);

    // The host takes the keyboard (the battle pauses); a click on the frame's footer gives it back.
    await page.click("#elsewhere");
    await page.keyboard.press("ArrowDown");
    await page.waitForTimeout(300);
    assert.equal(keyLines(trace), played, "a key meant for the host reached the game");
    await allowed.click("#keys p:visible");
    await page.keyboard.press("p");  // resumes the battle
    await page.waitForTimeout(300);
    for (const key of ["ArrowRight", "ArrowDown"]) {
      await page.keyboard.press(key);
      await page.waitForTimeout(150);
    }
    await waitForTicks(trace, 2, "the framed game, resumed");
    assert.ok(keyLines(trace) >= played + 2, "the keys after a click on the footer");

    assert.equal(await plain.evaluate(() => document.getElementById("fullscreen").hidden), true, "fullscreen offered where not allowed");
    assert.equal(await allowed.evaluate(() => document.getElementById("fullscreen").hidden), false);
    await allowed.click("#fullscreen");
    await until(allowed, () => document.fullscreenElement?.id === "stage", "fullscreen in the frame that allows it");
    await page.context().close();
  } finally {
    await host.close();
  }
});

test("in a sandboxed frame without storage the page starts all the same, with one line on the console", TIMEOUT, async () => {
  // A frame with an origin of its own fetches the site across origins: the host must allow that.
  const open = await serve(site, {}, { "Access-Control-Allow-Origin": "*" });
  const frames = path.join(work, "sandbox");
  fs.mkdirSync(frames, { recursive: true });
  fs.writeFileSync(path.join(frames, "host.html"), `<!DOCTYPE html><title>a game host</title>
<iframe sandbox="allow-scripts" src="${open.url}index.html?trace=1&amp;speed=8" width="840" height="700"></iframe>`);
  const host = await serve(frames);
  try {
    const page = await (await browser.newContext()).newPage();
    const trace = collectTrace(page), lines = ownLines(page);
    await page.goto(host.url + "host.html");
    const frame = page.frame({ url: /trace=1/ });
    await waitForState(frame, "start");
    await frame.click("#start");
    await waitForState(frame, "playing");
    await waitForTicks(trace, 3, "the sandboxed game");
    for (const key of ["m", "ArrowLeft", "m", "ArrowUp"]) {  // each mute would be kept
      await page.keyboard.press(key);
      await page.waitForTimeout(150);
    }
    await waitForTicks(trace, 3, "the sandboxed game");
    assert.ok(keyLines(trace) >= 2, "the keys in the sandboxed frame");
    assert.equal(lines.length, 1, `the page's own lines: ${JSON.stringify(lines)}`);
    assert.match(lines[0], /storage/);
    await page.context().close();
  } finally {
    await host.close();
    await open.close();
  }
});

test("where no service worker can run the page plays without one, saying so once", TIMEOUT, async () => {
  // As a private window or a frame that forbids workers has it: registering fails, or even
  // looking for the workers does.
  const refusals = {
    refused: () => { navigator.serviceWorker.register = () => Promise.reject(new DOMException("not here", "SecurityError")); },
    forbidden: () => {
      Object.defineProperty(Navigator.prototype, "serviceWorker", { get() { throw new DOMException("not here", "SecurityError"); } });
    },
  };
  for (const [how, refuse] of Object.entries(refusals)) {
    const context = await browser.newContext();
    await context.addInitScript(refuse);
    const page = await context.newPage();
    const trace = collectTrace(page), lines = ownLines(page);
    await page.goto(server.url + "index.html?trace=1&speed=8");
    await startGame(page, trace, how);
    await page.waitForTimeout(500);
    assert.equal(lines.length, 1, `${how}: the page's own lines: ${JSON.stringify(lines)}`);
    assert.match(lines[0], /offline/);
    await context.close();
  }
});

// The replay tool's first picture of win.keys in a language, and the page's: the SHA-256 of
// their RGBA bytes.
function firstPicture(lang) {
  const file = path.join(work, `start-${lang}.png`);
  fs.mkdirSync(path.join(work, `${lang}-app/se`), { recursive: true });
  execFileSync(replayTool, ["--keys", winKeys, "--lang", lang, "--ticks", "1", "--shot", `start:${file}`,
    "--app-dir", path.join(work, `${lang}-app`), "--data-dir", path.join(work, `${lang}-data`)]);
  return sha256(execFileSync("convert", [file, "-depth", "8", "rgba:-"], { maxBuffer: 1 << 24 }));
}
async function pageFirstPicture(page) {
  await page.keyboard.press("Enter");
  await until(page, () => Boolean(window.sevenchips.shots.start), "the first picture");
  return page.evaluate(async () => {
    const digest = await crypto.subtle.digest("SHA-256", new Uint8Array(window.sevenchips.shots.start));
    return Array.from(new Uint8Array(digest), (x) => x.toString(16).padStart(2, "0")).join("");
  });
}

test("a language the build lacks is refused from the address and never kept; a kept one gives way to Japanese", TIMEOUT, async () => {
  const japanese = firstPicture("ja"), english = firstPicture("en");
  assert.notEqual(japanese, english, "the first picture tells the languages apart");
  const context = await browser.newContext();
  const page = await context.newPage();
  const lines = ownLines(page);
  const kept = () => page.evaluate(() => localStorage.getItem("sevenchips.settings"));
  const watch = server.url + "index.html?play=win.keys&shots=start";

  await page.goto(server.url + "index.html?lang=xx");
  await waitForState(page, "start");
  await page.keyboard.press("Enter");
  await waitForState(page, "failed");
  assert.match(await page.textContent("#why"), /unknown language 'xx' \(ja, en\)/);
  assert.equal(await kept(), null, "the refused language was kept");
  await page.goto(watch);
  await waitForState(page, "start");
  assert.equal(await pageFirstPicture(page), japanese, "the next plain visit is not in Japanese");

  await page.goto(watch + "&lang=en");
  await waitForState(page, "start");
  assert.equal(await pageFirstPicture(page), english);
  assert.equal(JSON.parse(await kept()).language, "en", "a language the build has is kept");

  // A language kept by a build that had it, which this one lacks.
  await page.evaluate(() => localStorage.setItem("sevenchips.settings", JSON.stringify({ muted: false, language: "fr" })));
  lines.length = 0;
  await page.goto(watch);
  await waitForState(page, "start");
  assert.equal(await pageFirstPicture(page), japanese, "a kept language the build lacks");
  assert.equal(lines.filter((l) => l.includes("'fr'")).length, 1, `the page's lines: ${JSON.stringify(lines)}`);
  await context.close();
});

test("the zip for game hosts has index.html at its root, relative paths only, and plays from a host's sub-folder", TIMEOUT, async () => {
  const zip = path.join(work, "sevenchips-web.zip");
  execFileSync("bash", [path.join(root, "tools/web/zip-site.sh"), site, zip]);
  const names = execFileSync("unzip", ["-Z1", zip], { encoding: "utf8" }).trim().split("\n");
  assert.deepEqual([...names].sort(), filesUnder(site).sort(), "the zip holds the site, index.html at its root");
  assert.deepEqual(names.filter((n) => n.startsWith("/") || n.split("/").includes("..")), []);
  const manifest = JSON.parse(fs.readFileSync(path.join(site, "manifest.webmanifest"), "utf8"));
  const urls = [manifest.start_url, manifest.scope, manifest.id, ...manifest.icons.map((i) => i.src)];
  assert.deepEqual(urls.filter((u) => /^(\/|[a-z]+:)/i.test(u)), [], "the manifest's addresses");
  assert.ok(manifest.icons.some((i) => i.purpose === "maskable") && ["192x192", "512x512"].every((s) => manifest.icons.some((i) => i.sizes === s)));

  // Unpacked into a sub-folder of a host: nothing the page, the program or the worker asks for
  // lies outside it.
  const hostRoot = path.join(work, "host"), folder = path.join(hostRoot, "games/sevenchips");
  fs.rmSync(hostRoot, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  execFileSync("unzip", ["-q", zip, "-d", folder]);
  const host = await serve(hostRoot);
  try {
    const context = await browser.newContext();
    const asked = [], missing = [];
    context.on("request", (r) => asked.push(r.url()));
    context.on("response", (r) => { if (r.status() >= 400) missing.push(r.url()); });
    const page = await context.newPage();
    const trace = collectTrace(page);
    const at = host.url + "games/sevenchips/";
    await page.goto(at + "index.html?trace=1&speed=8");
    await startGame(page, trace, "from the sub-folder");
    assert.equal(await workerReady(page), at);
    assert.deepEqual(Object.keys(await cacheContents(page)), [cacheName(folder, at)]);
    assert.deepEqual(asked.filter((u) => !u.startsWith(at)), [], "asked for outside the folder");
    assert.deepEqual(missing, []);
    await context.close();
  } finally {
    await host.close();
  }
});
