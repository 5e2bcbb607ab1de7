// The web edition in Debian's Chromium against the headless replay tool: a watched key script
// gives the tool's trace and pictures, a game played with real key presses pauses and its
// downloaded recording replays to the same game, the sound starts and stays muted, and the
// start screen does not wait for the music.
// Usage: node page.mjs SITE_DIR REPLAY_TOOL WORK_DIR  (run by tests/web/run.sh)
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";

import {
  collectTrace, differentPixels, keptPicture, launch, replay as replayTool, rgba, sameLines, serve, waitForState,
} from "../../tools/web/browser.mjs";

const [site, replayPath, work] = process.argv.slice(2).map((p) => path.resolve(p));
const winKeys = fileURLToPath(new URL("../../demo/win.keys", import.meta.url));
let browser, server;

before(async () => {
  fs.mkdirSync(work, { recursive: true });
  server = await serve(site, { "/win.keys": winKeys });
  browser = await launch();
});
after(() => Promise.all([browser?.close(), server?.close()]));

const replay = (keys, name, shots) => replayTool(replayPath, keys, work, name, shots);

// What the page does, seen from outside: `frames` gets the next `keepFrames` pictures put on
// the canvas, `sound` counts the moments of sound heard and those that carried sound, and
// `registered` is set once the page registers its worker.
function watchPage() {
  const register = ServiceWorkerContainer.prototype.register;
  ServiceWorkerContainer.prototype.register = function (...args) {
    window.registered = true;
    return register.apply(this, args);
  };
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...at) {
    if (window.keepFrames > 0 && window.keepFrames--) window.frames.push(new Uint8ClampedArray(image.data));
    return put.call(this, image, ...at);
  };
  // The page's sound as it reaches the speakers: what goes to each context's destination goes
  // to an analyser too, read every 25 ms as one "buffer".
  window.sound = { buffers: 0, loud: 0 };
  const connect = AudioNode.prototype.connect, analysers = new WeakMap();
  AudioNode.prototype.connect = function (target, ...rest) {
    const context = this.context;
    if (target instanceof AudioDestinationNode && !analysers.has(context)) {
      const analyser = context.createAnalyser(), samples = new Float32Array(analyser.fftSize);
      analysers.set(context, analyser);
      setInterval(() => {
        if (context.state !== "running") return;
        analyser.getFloatTimeDomainData(samples);
        window.sound.buffers++;
        window.sound.loud += samples.some((v) => Math.abs(v) > 1e-4);
      }, 25);
    }
    if (target instanceof AudioDestinationNode) connect.call(this, analysers.get(context));
    return connect.call(this, target, ...rest);
  };
}

// `route(context)` may hold back or refuse some of the site's files.
async function openPage(query, start = true, route = null) {
  const context = await browser.newContext();
  await context.addInitScript(watchPage);
  if (route) await route(context);
  const page = await context.newPage();
  const trace = collectTrace(page);
  await page.goto(server.url + "index.html" + query);
  if (start) await startGame(page);
  return { page, trace };
}

async function startGame(page) {
  await waitForState(page, "start");
  await page.keyboard.press("Enter");  // the start screen's key: it only starts the game
  await waitForState(page, "playing");
}

const ticks = (trace) => trace.filter((l) => l.startsWith('{"event":"tick"')).length;
async function waitForTicks(page, trace, n) {
  for (const target = ticks(trace) + n; ticks(trace) < target;) await page.waitForTimeout(20);
}

test("a watched key script gives the replay tool's trace and pictures", async () => {
  const shots = [260, 1500, "end"];
  const { page, trace } = await openPage(`?play=win.keys&trace=1&speed=16&shots=${shots}`);
  await waitForState(page, "ended", 150000);
  sameLines(trace, replay(winKeys, "win", shots), "trace of win.keys");
  for (const shot of shots) {
    const file = path.join(work, `web-${shot}.png`);
    await keptPicture(page, shot, file);
    const pixels = differentPixels(rgba(file), rgba(path.join(work, `win-${shot}.png`)));
    assert.equal(pixels, 0, `the canvas at ${shot}: ${file}`);
  }
});

// The paused picture against the one the pause was taken from: outside the sign in the middle
// every channel keeps three eighths of its light, and the sign carries white.
function pausedPicture([paused, shown]) {
  let wrong = 0, lit = 0, white = 0;
  for (let c = 0; c < paused.length; c++) {
    if (c % 4 === 3) continue;  // alpha
    const x = (c >> 2) % 800, y = Math.floor(c / 3200);
    if (x >= 240 && x < 560 && y >= 225 && y < 375) white += paused[c] === 255;
    else wrong += paused[c] !== (shown[c] >> 2) + (shown[c] >> 3), lit += shown[c] >= 8;
  }
  return { wrong, lit: lit > 100000, white: white > 1000 };
}

// Headless Chromium never hides a tab: the page is told so as a browser would tell it.
const hideTab = (hidden) => {
  Object.defineProperty(document, "hidden", { value: hidden, configurable: true });
  Object.defineProperty(document, "visibilityState", { value: hidden ? "hidden" : "visible", configurable: true });
  document.dispatchEvent(new Event("visibilitychange"));
};
const gameMs = (line) => Number(/"ms":(\d+)/.exec(line)[1]);

test("a game played with real keys pauses, and its recording replays to the same game", async () => {
  const { page, trace } = await openPage("?trace=1&speed=8");
  const play = async (keys) => {
    for (const key of keys) await page.keyboard.press(key).then(() => page.waitForTimeout(150));
  };
  await waitForTicks(page, trace, 3);
  await play(["ArrowLeft", "ArrowUp", "ArrowLeft", "ArrowLeft", "ArrowDown", "ArrowRight", "ArrowUp"]);
  const pauses = [["P", () => page.keyboard.press("p")], ["a hidden tab", () => page.evaluate(hideTab, true)]];
  for (const [how, pause] of pauses) {
    await pause();
    await page.waitForTimeout(300);
    const lines = trace.length;
    await page.waitForTimeout(1200);  // ten seconds of the game's time at this speed
    assert.equal(trace.length, lines, `the battle went on while paused by ${how}`);
    await page.evaluate(() => {
      window.frames = [document.getElementById("screen").getContext("2d").getImageData(0, 0, 800, 600).data];
      window.keepFrames = 1;  // the picture the game shows again when it resumes
    });
    if (how !== "P") await page.evaluate(hideTab, false);
    await page.keyboard.press("p");
    await waitForTicks(page, trace, 2);
    assert.deepEqual(await page.evaluate(`(${pausedPicture})(window.frames)`),
      { wrong: 0, lit: true, white: true }, `the canvas paused by ${how}`);
    // The pause lasted 1.5 s, 12 s of the game's time: a tick late by a loaded machine's stall
    // (half a second here is 4 s of the game's) is not a pause counted.
    assert.ok(gameMs(trace[lines]) - gameMs(trace[lines - 1]) < 4000, `the trace's ms counted the pause by ${how}`);
  }
  await play(["ArrowRight", "ArrowRight", "ArrowDown", "ArrowDown", "ArrowLeft", "ArrowUp", "Escape"]);
  await waitForState(page, "ended");
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#download")]);
  const recording = path.join(work, "played.keys");
  await download.saveAs(recording);
  assert.ok(trace.filter((l) => l.startsWith('{"event":"key"')).length >= 14, "the keys did not reach the game");
  sameLines(trace, replay(recording, "played"), "the recording's trace");
});

// What a second of the battle sounds like: the music in nearly all of it, or silence.
async function listenTo(page, what, music) {
  await page.evaluate(() => { window.sound.buffers = window.sound.loud = 0; });
  await page.waitForTimeout(1000);
  const { buffers, loud } = await page.evaluate(() => window.sound);
  assert.ok(buffers > 10 && (music ? loud >= 0.9 * buffers : !loud), `${what}: ${loud} of ${buffers} buffers loud`);
}

test("the sound starts with the game and plays the music, and a reload keeps it muted", async () => {
  const { page, trace } = await openPage("?trace=1", false);
  await waitForState(page, "start");
  assert.equal(await page.evaluate(() => window.sevenchips.audioState()), "none", "sound before the first input");
  const battle = async () => {
    const from = trace.length;
    await startGame(page);
    await waitForTicks(page, trace, 10);  // the start-up's sound is over
    assert.match(trace[from], /"music":\["open","play"\]/);
  };
  const mute = () => page.keyboard.press("m").then(() => page.waitForTimeout(200));
  // M mutes a battle; after a reload the next is muted from the start, and M brings the music back.
  for (const reload of [false, true]) {
    if (reload) await page.reload();
    await battle();
    await listenTo(page, reload ? "reloaded" : "the battle", !reload);
    await mute();
    await listenTo(page, reload ? "unmuted" : "muted", reload);
  }
});

test("the start screen does not wait for the music: it plays once it has come, and one that never comes is silent", async () => {
  for (const comes of [true, false]) {
    let letGo;
    const held = new Promise((go) => { letGo = go; });
    const holdMusic = (context) => context.route("**/bg/bg1.ogg", (route) => held.then(() => (comes ? route.continue() : route.abort())));
    const { page, trace } = await openPage("?trace=1", true, holdMusic);
    await waitForTicks(page, trace, 10);
    await listenTo(page, "the battle before the music came", false);
    // The page's worker, which fetches the whole site for playing offline, waits for it too.
    assert.equal(await page.evaluate(() => !!window.registered), false, "the worker registered while the music was still coming");
    letGo();
    await page.waitForSelector("body[data-fetched]");
    if (comes) await page.waitForFunction(() => window.sound.loud > 0, null, { timeout: 10000 });
    await listenTo(page, comes ? "the battle once the music came" : "the battle without music", comes);
    await page.waitForFunction(() => window.registered);
    // The music's coming or not changes nothing of the game: its watchdog never restarts a piece
    // that never came, as it never restarts one that is not there.
    await page.keyboard.press("Escape");
    await waitForState(page, "ended");
    const name = `music-${comes ? "late" : "never"}`;
    fs.writeFileSync(path.join(work, `${name}.keys`), await page.evaluate(() => window.sevenchips.recording));
    sameLines(trace, replay(path.join(work, `${name}.keys`), name), `the trace with the music ${comes ? "late" : "never come"}`);
    await page.context().close();
  }
});
