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
import { after, test } from "node:test";

import { launch, pageState, replay, rgba, serve, waitForState } from "../../tools/web/browser.mjs";

const [site, replayTool, work] = process.argv.slice(2).map((p) => path.resolve(p));
const root = path.resolve(import.meta.dirname, "../..");
const winKeys = path.join(root, "demo/win.keys");
const TIMEOUT = { timeout: 240000 };
fs.mkdirSync(work, { recursive: true });
const servers = [];
// Serves as serve() does; every server stops at the end, with the browser.
const host = async (...how) => { const s = await serve(...how); servers.push(s); return s; };
const server = await host(site, { "/win.keys": winKeys }), browser = await launch();
after(async () => {
  await browser.close();
  for (const s of servers) await s.close();
});

// ---- the site's files, and what the browser keeps of them ----
const filesUnder = (dir) =>
  execFileSync("find", [dir, "-type", "f", "-printf", "%P\\n"], { encoding: "utf8" }).trim().split("\n").sort();
const sha256 = (bytes) => crypto.createHash("sha256").update(bytes).digest("hex");
// What the worker keeps of the build in `dir` served at `url`, as cacheContents() has it.
function kept(dir, url) {
  const version = /"version": "([0-9a-f]+)"/.exec(fs.readFileSync(path.join(dir, "sw.js"), "utf8"))[1];
  const files = filesUnder(dir).filter((n) => n !== "sw.js").map((n) => [url + n, sha256(fs.readFileSync(path.join(dir, n)))]);
  return { [`sevenchips-${version} ${url}`]: Object.fromEntries(files) };
}
// Every cache of the page's origin: {name: {url: SHA-256 of the body}}.
const cacheContents = (page) => page.evaluate(async () => {
  const hex = (b) => Array.from(new Uint8Array(b), (x) => x.toString(16).padStart(2, "0")).join("");
  const hash = async (cache, r) => [r.url, hex(await crypto.subtle.digest("SHA-256", await (await cache.match(r)).arrayBuffer()))];
  const contents = async (cache) => Object.fromEntries(await Promise.all((await cache.keys()).map((r) => hash(cache, r))));
  return Object.fromEntries(await Promise.all((await caches.keys()).map(async (n) => [n, await contents(await caches.open(n))])));
});
// The scope of the page's worker, once it is active (its build kept).
const workerScope = (page) => page.evaluate(() => Promise.race([navigator.serviceWorker.ready.then((r) => r.scope),
  new Promise((late) => setTimeout(() => late("no worker within a minute"), 60000))]));

// ---- the game, and the page's console ----
const count = (trace, event) => trace.filter((l) => l.startsWith(`{"event":"${event}"`)).length;
async function until(trace, event, n, what) {
  for (const end = Date.now() + 30000; count(trace, event) < n; await new Promise((wait) => setTimeout(wait, 20))) {
    if (Date.now() > end) throw new Error(`${what}: ${n} ${event} lines did not come`);
  }
}
async function startGame(page, trace, what) {
  await waitForState(page, "start");
  await page.keyboard.press("Enter");
  await waitForState(page, "playing");
  await until(trace, "tick", 5, what);
}
const press = async (page, keys) => { for (const k of keys) await page.keyboard.press(k).then(() => page.waitForTimeout(150)); };
// What the page's documents from `origin` say on the console: the game's trace, and the page's
// own lines.
function consoleOf(page, origin = "") {
  const trace = [], lines = [];
  page.on("console", (m) => {
    if (!m.location().url.startsWith(origin)) return;
    if (m.text().startsWith('{"event":')) trace.push(m.text());
    else if (m.text().startsWith("sevenchips:")) lines.push(m.text());
  });
  page.on("pageerror", (e) => lines.push("page error: " + e.message));
  return { trace, lines };
}
// A new page in `context` (or in a context of its own), and its console.
async function newPage(context) {
  const page = await (context ?? await browser.newContext()).newPage();
  return { page, ...consoleOf(page) };
}

test("in other sites' frames: keys after a click, fullscreen only where allowed, one line without storage", TIMEOUT, async () => {
  // A sandboxed frame has an origin of its own, so it fetches the site across origins: its
  // host must allow that.
  const open = await host(site, {}, { "Access-Control-Allow-Origin": "*" });
  fs.writeFileSync(path.join(work, "host.html"), `<!DOCTYPE html><title>a game host</title>
<p><button id="elsewhere">the host's own button</button></p>
<iframe src="${server.url}index.html?trace=1&amp;speed=8" allow="fullscreen" width="840" height="700"></iframe>
<iframe src="${server.url}index.html" width="420" height="340"></iframe>
<iframe sandbox="allow-scripts" src="${open.url}index.html?trace=1&amp;speed=8" width="840" height="700"></iframe>`);
  const { page } = await newPage(), framed = consoleOf(page, server.url), boxed = consoleOf(page, open.url);
  await page.goto((await host(work)).url + "host.html");  // another port: another origin
  const [allowed, plain, sandboxed] = page.frames().slice(1);
  for (const frame of [allowed, plain, sandboxed]) await waitForState(frame, "start");
  await page.keyboard.press("Enter");  // the host has the keyboard: nothing starts
  await page.waitForTimeout(300);
  assert.equal(await pageState(allowed), "start");

  await allowed.click("#start");
  await waitForState(allowed, "playing");
  await until(framed.trace, "tick", 3, "the framed game");
  await press(page, ["ArrowLeft", "ArrowUp", "ArrowLeft"]);
  await until(framed.trace, "key", 3, "the keys after a click");
  // The host takes the keyboard (the battle pauses); a click on the frame's footer gives it back.
  const played = count(framed.trace, "key");
  await page.click("#elsewhere");
  await press(page, ["ArrowDown"]);
  await page.waitForTimeout(300);
  assert.equal(count(framed.trace, "key"), played, "a key meant for the host reached the game");
  await allowed.click("#keys p:visible");
  await press(page, ["p", "ArrowRight", "ArrowDown"]);  // p resumes the battle
  await until(framed.trace, "key", played + 2, "the keys after a click on the footer");

  // Without storage, where each mute would be kept.
  await sandboxed.click("#start");
  await waitForState(sandboxed, "playing");
  await until(boxed.trace, "tick", 3, "the sandboxed game");
  await press(page, ["m", "ArrowLeft", "m", "ArrowUp"]);
  await until(boxed.trace, "key", 2, "the keys in the sandboxed frame");
  assert.deepEqual(boxed.lines.map((l) => l.includes("storage")), [true], `the sandboxed page's lines: ${boxed.lines}`);

  const offered = (frame) => frame.$eval("#fullscreen", (button) => !button.hidden);
  assert.deepEqual([await offered(allowed), await offered(plain)], [true, false], "fullscreen offered only where allowed");
  await allowed.click("#fullscreen");
  await allowed.waitForFunction(() => document.fullscreenElement?.id === "stage");
  await page.context().close();
});

test("where no service worker can run the page plays without one, saying so once; a copy opened as a file says where the game must come from", TIMEOUT, async () => {
  // As a private window or a frame that forbids workers has it: registering fails, or even
  // looking for the workers does.
  for (const [how, refuse] of Object.entries({
    refused: () => { navigator.serviceWorker.register = () => Promise.reject(new DOMException("not here", "SecurityError")); },
    forbidden: () => Object.defineProperty(Navigator.prototype, "serviceWorker",
      { get() { throw new DOMException("not here", "SecurityError"); } }),
  })) {
    const { page, trace, lines } = await newPage();
    await page.context().addInitScript(refuse);
    await page.goto(server.url + "index.html?trace=1&speed=8");
    await startGame(page, trace, how);
    await page.waitForTimeout(500);
    assert.deepEqual(lines.map((l) => l.includes("not kept for offline play")), [true], `${how}: ${lines}`);
    await page.context().close();
  }
  // A copy opened as a file cannot fetch its own files: it says where the game must come from.
  const { page } = await newPage();
  await page.goto("file://" + path.join(site, "index.html"));
  await waitForState(page, "failed");
  assert.match(await page.locator("#why").innerText(), /^opened as a file: the game must come from a web server/);
  await page.context().close();
});

test("a language the build lacks is refused from the address and never kept; a kept one gives way to Japanese", TIMEOUT, async () => {
  // The first picture of win.keys: the replay tool's in Japanese, and the page's at an address
  // (the SHA-256 of their RGBA bytes).
  replay(replayTool, winKeys, work, "ja", ["start"], ["--lang", "ja", "--ticks", "1"]);
  const japanese = sha256(rgba(path.join(work, "ja-start.png")));
  const { page, lines } = await newPage();
  async function firstPicture(query) {
    await page.goto(server.url + "index.html?play=win.keys&shots=start" + query);
    await waitForState(page, "start");
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => window.sevenchips.shots.start);
    return page.evaluate(async () => Array.from(new Uint8Array(await crypto.subtle.digest("SHA-256",
      new Uint8Array(window.sevenchips.shots.start))), (x) => x.toString(16).padStart(2, "0")).join(""));
  }
  const settings = () => page.evaluate(() => localStorage.getItem("sevenchips.settings"));

  await page.goto(server.url + "index.html?lang=xx");
  await waitForState(page, "start");
  await page.keyboard.press("Enter");
  await waitForState(page, "failed");
  assert.match(await page.textContent("#why"), /unknown language 'xx' \(ja, en\)/);
  assert.equal(await settings(), null, "the refused language was kept");
  assert.equal(await firstPicture(""), japanese, "the next plain visit is not in Japanese");
  assert.notEqual(await firstPicture("&lang=en"), japanese, "English asked for");
  assert.equal(JSON.parse(await settings()).language, "en", "a language the build has is kept");
  // A language kept by a build that had it, which this one lacks.
  await page.evaluate(() => localStorage.setItem("sevenchips.settings", JSON.stringify({ muted: false, language: "fr" })));
  lines.length = 0;
  assert.equal(await firstPicture(""), japanese, "a kept language the build lacks");
  assert.equal(lines.filter((l) => l.includes("'fr'")).length, 1, `the page's lines: ${lines}`);
  await page.context().close();
});

// The zip for game hosts, unpacked in a sub-folder of a host, plays there and offline after one
// visit; a new build replaces it whole, only once uploaded whole, while a page of the old one
// plays on.
test("the zip plays from a sub-folder and offline; a new build replaces it whole, once uploaded whole", TIMEOUT, async () => {
  const zip = path.join(work, "sevenchips-web.zip");
  execFileSync("bash", [path.join(root, "tools/web/zip-site.sh"), site, zip]);
  const names = execFileSync("unzip", ["-Z1", zip], { encoding: "utf8" }).trim().split("\n");
  assert.deepEqual([...names].sort(), filesUnder(site), "the zip holds the site, index.html at its root");
  assert.deepEqual(names.filter((n) => n.startsWith("/") || n.split("/").includes("..")), []);
  const { start_url, scope, id, icons } = JSON.parse(fs.readFileSync(path.join(site, "manifest.webmanifest"), "utf8"));
  const absolute = [start_url, scope, id, ...icons.map((i) => i.src)].filter((u) => /^(\/|[a-z]+:)/i.test(u));
  assert.deepEqual(absolute, [], "the manifest's addresses");
  assert.ok(icons.some((i) => i.purpose === "maskable") && ["192x192", "512x512"].every((s) => icons.some((i) => i.sizes === s)));

  // Unpacked into a sub-folder of a host: nothing the page, the program or the worker asks for
  // lies outside it, all through this test.
  const hostRoot = path.join(work, "host"), folder = path.join(hostRoot, "games/sevenchips");
  fs.mkdirSync(folder, { recursive: true });
  execFileSync("unzip", ["-qo", zip, "-d", folder]);
  const at = (await host(hostRoot)).url + "games/sevenchips/", old = kept(folder, at);
  const first = await newPage(), context = first.page.context(), asked = [], responses = [];
  context.on("request", (r) => asked.push(r.url()));
  context.on("response", (r) => responses.push(r));
  await first.page.goto(at + "index.html?trace=1&speed=8");
  assert.equal(await workerScope(first.page), at);
  assert.deepEqual(await cacheContents(first.page), old, "the cache holds the whole build and nothing else");
  // With the network off, a later visit to the folder's address plays, from the cache.
  await context.setOffline(true);
  const later = await newPage(context);
  await later.page.goto(at + "?trace=1&speed=8");
  await startGame(later.page, later.trace, "offline, a later visit");
  await later.page.close();
  await context.setOffline(false);

  // The next build, as ./dev web would make it: a changed page and script, a new worker.
  const next = path.join(work, "next"), html = path.join(next, "index.html");
  fs.cpSync(site, next, { recursive: true });
  fs.writeFileSync(html, fs.readFileSync(html, "utf8").replace("<title>Seven Chips</title>", "<title>Seven Chips 2</title>"));
  fs.appendFileSync(path.join(next, "page.js"), "\nwindow.sevenchipsBuild = 2;\n");
  execFileSync("bash", [path.join(root, "tools/web/stamp-worker.sh"), next, path.join(root, "src/platform/web/page/sw.js")]);
  const upload = (...names) => { for (const name of names) fs.copyFileSync(path.join(next, name), path.join(folder, name)); };
  const build = (page) => page.evaluate(() => `${document.title} ${window.sevenchipsBuild || 1}`);
  // The state of the worker waiting to take over, once the browser has looked for one.
  const newWorker = (page) => page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update().catch(() => {});
    while (registration.installing) await new Promise((wait) => setTimeout(wait, 50));
    return registration.waiting ? registration.waiting.state : "none";
  });

  // Half uploaded, the new worker ahead of the page's script: it is not installed.
  upload("sw.js", "index.html");
  assert.equal(await newWorker(first.page), "none", "a worker installed from a half-uploaded build");
  assert.deepEqual(await cacheContents(first.page), old);

  // Uploaded whole, while the first page is open: a second page comes from the old build's
  // cache, and the new build's worker, once it has kept all its files, waits.
  upload("page.js");
  const second = await newPage(context);
  await second.page.goto(at + "index.html?trace=1&speed=8");
  await waitForState(second.page, "start");
  assert.equal(await newWorker(second.page), "installed");
  await second.page.waitForTimeout(1000);  // its offer to take over, refused
  assert.equal(await build(second.page), "Seven Chips 1");
  assert.deepEqual(await cacheContents(second.page), { ...old, ...kept(next, at) },
    "the old build kept whole while its pages are open, the new one complete beside it");
  await startGame(first.page, first.trace, "the old build's first page");

  // The player closes the first page and comes back to the second: the new build, alone.
  await first.page.close();
  await second.page.reload();
  await second.page.waitForFunction(() => window.sevenchipsBuild === 2 && document.body.dataset.state === "start");
  assert.equal(await build(second.page), "Seven Chips 2 2");
  assert.deepEqual(await cacheContents(second.page), kept(next, at), "only the new build is kept");
  // What the page loaded since its last reload came through the worker (from its cache, which
  // holds only the new build), the files in folders too.
  const loaded = responses.slice(responses.findLastIndex((r) => r.request().resourceType() === "document"))
    .filter((r) => r.fromServiceWorker()).map((r) => r.url().replace(/[?#].*$/, "").slice(at.length));
  const needed = ["index.html", "page.js", "sevenchips.js", "sevenchips.wasm", "data.json", "bg/bg1.ogg"];
  assert.deepEqual(needed.filter((n) => !loaded.includes(n)), [], `what came through the worker: ${loaded}`);
  await startGame(second.page, second.trace, "the new build");
  assert.deepEqual(asked.filter((u) => !u.startsWith(at)), [], "asked for outside the folder");
  assert.deepEqual(responses.filter((r) => r.status() >= 400).map((r) => r.url()), [], "missing");
  await context.close();
});
