// Runs as links in Debian's Chromium, against the replay tool: a game played in the page and
// shared as a link replays in a fresh browser and on the desktop to the same game; the desktop's
// link opens in the page, which says what the run reached and seeks to the replay tool's
// pictures; a run taken over records a game that replays to the page's; bad links and files
// leave the start screen as it was, with one line.
// Usage: node watch.mjs SITE_DIR REPLAY_TOOL WORK_DIR  (run by tests/web/run.sh)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";

import {
  collectTrace, devices, differentPixels, inside, keptPicture, launch, overlap, replay as replayTool, rgba, sameLines, serve,
  waitForState,
} from "../../tools/web/browser.mjs";

const [site, replayPath, work] = process.argv.slice(2).map((p) => path.resolve(p));
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const winKeys = path.join(root, "demo/win.keys");
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

const replay = (keys, name, shots) => replayTool(replayPath, keys, work, name, shots);
const tool = (...args) => execFileSync(replayPath, args, { encoding: "utf8" }).trim();
// The trace of the page's last replay of a run: a seek replays it afresh from its "start".
const lastGame = (trace) => trace.slice(trace.findLastIndex((l) => l.startsWith('{"event":"start"')));
const ticks = (trace) => lastGame(trace).filter((l) => l.startsWith('{"event":"tick"')).length;
async function waitForTicks(page, trace, n) {
  while (ticks(trace) < n) await page.waitForTimeout(20);
}
const clock = (ms) => `${Math.floor(ms / 60000)}:${String(Math.floor(ms / 1000) % 60).padStart(2, "0")}`;
const text = (page, id) => page.evaluate((i) => document.getElementById(i).innerText, id);
// Whether an element is drawn on the page (not only unhidden), and a wait until it is.
const drawn = (i) => document.getElementById(i).getClientRects().length > 0;
const shown = (page, id) => page.evaluate(drawn, id);
const showing = (page, id) => page.waitForFunction(drawn, id, { timeout: 10000 });
// A key script's or a recording's "TICK KEY" lines, up to a tick.
const keyLines = (text, upTo = Infinity) => text.split("\n").filter((l) => /^\d+ /.test(l) && Number(l.split(" ")[0]) <= upTo);
async function press(page, keys) {
  for (const key of keys) {
    await page.keyboard.press(key);
    await page.waitForTimeout(130);
  }
}

async function open(address, context) {
  context ??= await browser.newContext();
  const page = await context.newPage();
  const trace = collectTrace(page);
  const warnings = [];
  page.on("console", (m) => { if (m.type() === "warning") warnings.push(m.text()); });
  await page.goto(address.startsWith("http") ? address : server.url + address);
  await waitForState(page, "start");
  return { page, trace, context, warnings };
}
// The watch bar's seek bar moved to `tick` as a player drags it.
const seekBar = (page, tick) => page.evaluate((t) => {
  const bar = document.getElementById("watch-seek");
  bar.value = String(t);
  bar.dispatchEvent(new Event("input"));
  bar.dispatchEvent(new Event("change"));
}, tick);

test("a game played in the page and shared as a link replays to the same game in a fresh browser and on the desktop", async () => {
  const { page, trace } = await open("index.html?trace=1&speed=8");
  await page.keyboard.press("Enter");
  await waitForTicks(page, trace, 3);
  await press(page, ["ArrowLeft", "ArrowUp", "ArrowRight", "ArrowRight", "ArrowDown", "ArrowLeft", "ArrowUp", "Escape"]);
  await waitForState(page, "ended");
  await page.waitForFunction(() => window.sevenchips.link, null, { timeout: 10000 });
  const { link, recording } = await page.evaluate(() => window.sevenchips);
  assert.match(link, /^http:\/\/127\.0\.0\.1:\d+\/index\.html#run=1\.[A-Za-z0-9_-]+$/);
  assert.match(await text(page, "reached"), /Stopped at \d+:\d\d, 0 of 8 enemies defeated/);
  fs.writeFileSync(path.join(work, "played.keys"), recording);
  const expected = replay(path.join(work, "played.keys"), "played");
  sameLines(trace, expected, "the page's game against its recording");
  // The desktop reads the page's link as the same key script.
  sameLines(replay(link, "played-link"), expected, "the replay tool's game of the page's link");

  // The link in a fresh browser: what it reached, then watched to the end.
  const fresh = await open(link.replace("index.html#", "index.html?trace=1&speed=16#"));
  await showing(fresh.page, "run-offer");
  assert.match(await text(fresh.page, "run-offer"), /A recorded run \(seed \d+\): Stopped at/);
  await fresh.page.keyboard.press("Enter");
  await waitForState(fresh.page, "ended", 60000);
  sameLines(fresh.trace, expected, "the shared link watched in a fresh browser");
  await fresh.context.close();
});

test("the desktop's link of the winning game opens in the page, says what it reached, and seeks to the replay tool's pictures", async () => {
  const link = tool("--keys", winKeys, "--link");
  assert.ok(link.length <= 2000, `the winning game's link is ${link.length} characters`);
  const summary = JSON.parse(tool("--keys", winKeys, "--summary"));
  const minutes = clock(summary.ms);
  const { page, trace } = await open(`index.html?trace=1&shots=1500,1501#${link.slice(1)}`);
  await showing(page, "run-offer");
  assert.match(await text(page, "run-offer"), new RegExp(`seed 1\\): Won in ${minutes}: all 8 enemies defeated`));
  assert.ok(await shown(page, "new-game"), "no way to a new game instead");

  await page.keyboard.press("Enter");
  await waitForState(page, "playing");
  assert.ok(await shown(page, "watch"), "no watch bar");
  await waitForTicks(page, trace, 2);
  await page.keyboard.press(" ");  // pause
  await page.waitForFunction(() => document.getElementById("watch-pause").getAttribute("aria-pressed") === "true");
  for (const [go, at] of [[() => seekBar(page, 1500), 1500], [() => page.click("#watch-step"), 1501]]) {
    await go();
    await waitForTicks(page, trace, at);
    await page.waitForTimeout(500);
    assert.equal(ticks(trace), at, "a paused run went on after a seek or a step");
  }
  const expected = replay(winKeys, "win", [1500, 1501]);
  for (const shot of [1500, 1501]) {
    const file = path.join(work, `web-seek-${shot}.png`);
    await keptPicture(page, shot, file);
    assert.equal(differentPixels(rgba(file), rgba(path.join(work, `win-${shot}.png`))), 0, `the canvas at ${shot}: ${file}`);
  }
  // The bar shows the game's own time where the run stands, and the run's whole time.
  const ms = Number(/"ms":(\d+)/.exec(lastGame(trace).findLast((l) => l.startsWith('{"event":"tick"')))[1]);
  assert.equal(await text(page, "watch-time"), `${clock(ms)} / ${minutes}`);

  // A seek to the end of the whole game: it ends there, as the run did.
  await page.evaluate(() => window.SevenChipsWatch.seekTo(1e9));
  await waitForState(page, "ended");
  sameLines(lastGame(trace), expected, "the winning game after a seek to its end");
  assert.match(await text(page, "reached"), new RegExp(`Won in ${minutes}`));
});

test("a run taken over records the run's keys up to there and the player's, and replays to the page's game", async () => {
  const { page, trace } = await open("index.html?play=win.keys&trace=1&speed=8");
  await page.keyboard.press("Enter");
  await waitForTicks(page, trace, 3);
  await page.keyboard.press("p");
  await seekBar(page, 400);
  await waitForTicks(page, trace, 400);
  await page.click("#watch-take");
  assert.equal(await shown(page, "watch"), false, "the watch bar stayed after the take-over");
  await press(page, ["ArrowRight", "ArrowUp", "ArrowUp", "ArrowLeft", "ArrowDown", "Escape"]);
  await waitForState(page, "ended");
  const recording = await page.evaluate(() => window.sevenchips.recording);
  const file = path.join(work, "taken.keys");
  fs.writeFileSync(file, recording);
  const keys = keyLines(recording), runs = keyLines(fs.readFileSync(winKeys, "utf8"), 400);
  assert.deepEqual(keys.slice(0, runs.length), runs, "the run's keys up to the take-over");
  assert.ok(keys.length >= runs.length + 5, "the player's own keys were not recorded");
  assert.ok(keys.slice(runs.length).every((l) => Number(l.split(" ")[0]) >= 400), "a player's key before the take-over");
  sameLines(lastGame(trace), replay(file, "taken"), "the taken-over game against its recording");
});

// A CRC-32 (zlib's), to make links by hand.
function crc32(bytes) {
  let crc = ~0;
  for (const b of bytes) {
    crc ^= b;
    for (let k = 0; k < 8; k++) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return ~crc >>> 0;
}
function makeLink(text, tag = "1") {
  const body = Buffer.from(text);
  const crc = Buffer.alloc(4);
  crc.writeUInt32LE(crc32(body));
  return `#run=${tag}.` + Buffer.concat([zlib.deflateRawSync(body, { level: 9 }), crc]).toString("base64url");
}

test("bad links and files leave the start screen with one line, and a key starts a new game", async () => {
  const good = makeLink("seed 1\n0 Left\n5 Up\n");
  const bad = {
    "cut short": good.slice(0, good.length - 9),
    "damaged": good.slice(0, 12) + (good[12] === "A" ? "B" : "A") + good.slice(13),
    "another format": makeLink("seed 1\n0 Left\n", "9"),
    "not a key script": makeLink("hello, world\n"),
    "megabytes": makeLink("0 Left\n".repeat(1200000)),
  };
  const context = await browser.newContext();
  for (const [what, link] of Object.entries(bad)) {
    const { page, trace, warnings } = await open("index.html?trace=1&speed=8", context);
    await page.evaluate(() => localStorage.setItem("sevenchips.settings", '{"muted":true,"language":"en"}'));
    const stored = await page.evaluate(() => JSON.stringify(localStorage));
    warnings.length = 0;
    await page.evaluate((l) => { location.hash = l; }, link);
    await showing(page, "run-refused");
    const line = await text(page, "run-refused");
    assert.match(line, /link cannot be watched: ./, `${what}: ${line}`);
    assert.equal(warnings.filter((w) => w.startsWith("sevenchips: link")).length, 1, `${what}: ${warnings}`);
    assert.equal(await shown(page, "new-game"), false, `${what}: a new game offered as if there were a run`);
    await page.keyboard.press("Enter");
    await waitForState(page, "playing");
    assert.equal(await shown(page, "watch"), false, `${what}: watching a refused link`);
    await waitForTicks(page, trace, 2);
    assert.equal(await page.evaluate(() => JSON.stringify(localStorage)), stored, `${what}: the storage changed`);
    await page.close();
  }

  // The start screen's file picker: a recording is offered, something else refused.
  const { page, trace } = await open("index.html?trace=1&speed=8", context);
  await page.setInputFiles("#run-file", path.join(root, "assets/se/se1.wav"));
  await showing(page, "run-refused");
  assert.match(await text(page, "run-refused"), /se1\.wav cannot be watched: ./);
  await page.setInputFiles("#run-file", winKeys);
  await showing(page, "run-offer");
  assert.equal(await shown(page, "run-refused"), false);
  assert.match(await text(page, "run-offer"), /Won in/);
  await page.click("#new-game");  // a new game rather than the recording
  await waitForState(page, "playing");
  await waitForTicks(page, trace, 2);
  assert.equal(await shown(page, "watch"), false, "the new game watched the recording");
  await context.close();
});

for (const [device, name] of [["Pixel 5", "portrait"], ["Pixel 5 landscape", "landscape"], ["Galaxy S8 landscape", "landscape, 360 pixels high"]]) {
  test(`watching on a phone held in ${name}: the bar beside the picture, within the screen and a thumb's size`, async () => {
    const link = tool("--keys", winKeys, "--link");
    const { page, context, trace } = await open(`index.html?trace=1#${link.slice(1)}`, await browser.newContext({ ...devices[device] }));
    await showing(page, "run-offer");
    const start = await page.locator("#screen").boundingBox();
    await page.touchscreen.tap(start.x + start.width / 2, start.y + start.height / 2);
    await waitForState(page, "playing");
    const screen = { x: 0, y: 0, ...page.viewportSize() };
    const picture = await page.locator("#screen").boundingBox();
    const parts = await page.evaluate(() => [...document.querySelectorAll("#watch button, #watch input, .controls button")]
      .filter((e) => e.getClientRects().length && getComputedStyle(e).visibility === "visible")
      .map((e) => { const r = e.getBoundingClientRect(); return { id: e.id || e.textContent, x: r.x, y: r.y, width: r.width, height: r.height }; }));
    assert.ok(parts.length >= 10, `the watch bar's controls: ${parts.length}`);
    for (const p of parts) {
      assert.ok(inside(p, screen) && !overlap(p, picture), `${p.id} ${JSON.stringify(p)} covers the picture or leaves the screen`);
      assert.ok(p.height >= 44, `${p.id} is ${p.height} high: too small for a thumb`);
    }
    assert.equal(await page.evaluate(() => document.getElementById("arrows").getClientRects().length), 0, "the arrows show while watching");
    // The bar's buttons work by touch (a pause once the battle runs).
    await waitForTicks(page, trace, 2);
    const pause = await page.locator("#watch-pause").boundingBox();
    await page.touchscreen.tap(pause.x + pause.width / 2, pause.y + pause.height / 2);
    await page.waitForFunction(() => document.body.hasAttribute("data-paused"));
    await page.screenshot({ path: path.join(work, `watching-${name.replaceAll(/\W+/g, "-")}.png`) });
    await context.close();
  });
}
