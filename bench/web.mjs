// The web edition's figures in headless Chromium, one after the other (bench/run.sh prints
// them against their targets):
//   web_start_ms, web_sign_ms  navigation to the start screen, and the first key to the first
//                              picture with the signboard on it (median of five fresh visits)
//   web_bytes, web_gzip_bytes  every file of the site, and each gzipped (level 9)
//   web_cpu_s, web_floor_cpu_s, web_cpu_pairs
//                              the browser's CPU time (its processes but its own interface's
//                              renderer) over SECONDS of the page in battle, from 20 s after
//                              the first key (the battle's first tick comes some 2.7 s after
//                              it), against the same of the floor page from 20 s after it
//                              loaded: five pairs, page and floor in turn, each visit in a
//                              fresh browser, and the pair with the median ratio. The 20 s let
//                              the browser's optimising compiler take up the battle's code
//                              (0.05-0.1 s of CPU, once a game). Both pages without Web Audio
//                              (an init script takes it away; the game then plays silently and
//                              says so in one console line, which is checked): the headless
//                              browser's audio threads move one visit's CPU time fourfold.
//   web_pictures_cpu_s, web_pictures_cpu_runs, web_made_per_s
//                              the same of the game's own pictures without the game: what the
//                              page put on its canvas in each pair's visit, put again at the
//                              same moments on the floor's canvas (PICTURES_PAGE); the median
//                              of the five and all five, and the puts and fills a second
//   web_sound_cpu_s, web_sound_cpu_runs, web_silent_cpu_s
//                              the page in battle with its sound: the median of three visits
//                              and all three, against the median of the five silent ones
//   web_nopad_cpu_s, web_nopad_cpu_runs
//                              the page in battle without the Gamepad API (an init script
//                              takes it away, as a browser without it has none): the browser
//                              reads the machine's controllers many times a second for any
//                              page that listens for them; the median of three visits
//   web_replay_tps, native_replay_tps  demo/win.keys replayed by the replay tool built for the
//                              browser (in a page) and by the native one, alternately, three
//                              times each: the median battle ticks per second of each
//   web_seek_ms, web_seek_runs  the page watching demo/win.keys from its link: from the seek to
//                              the run's end to the end panel (the whole game replayed ahead,
//                              its last picture shown), the median of three fresh visits;
//                              web_replay_ms, the in-page replay tool's median time for the
//                              same game, is its peer
// Usage: node bench/web.mjs SITE_DIR WEB_BUILD_DIR NATIVE_REPLAY SECONDS
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { fileURLToPath } from "node:url";

import { launch, serve, waitForState } from "../tools/web/browser.mjs";

const [site, webBuild, nativeReplay] = process.argv.slice(2).map((p) => path.resolve(p));
const seconds = Number(process.argv[5] || 20);
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const winKeys = path.join(root, "demo/win.keys");
const font = path.join(site, "fonts/face.ttf");
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const say = (key, value) => console.log(`${key} ${value}`);

// A page with the start screen's and the signboard's moments noted on the page's own clock.
function noteMoments() {
  window.moments = {};
  new MutationObserver(() => {
    if (document.body.dataset.state === "start") window.moments.start ??= performance.now();
  }).observe(document, { attributes: true, subtree: true, attributeFilter: ["data-state"] });
  addEventListener("keydown", () => { window.moments.input ??= performance.now(); }, true);
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...at) {
    if (window.moments.input !== undefined && window.moments.sign === undefined) {
      let lit = 0;
      for (let i = 0; i < image.data.length; i += 4) lit += image.data[i] + image.data[i + 1] + image.data[i + 2] > 0;
      if (lit > 10000) window.moments.sign = performance.now();  // the signboard is 320 x 96
    }
    return put.call(this, image, ...at);
  };
}

function siteBytes() {
  let bytes = 0, gzipped = 0;
  for (const entry of fs.readdirSync(site, { recursive: true, withFileTypes: true })) {
    if (!entry.isFile()) continue;
    const data = fs.readFileSync(path.join(entry.parentPath ?? entry.path, entry.name));
    bytes += data.length;
    gzipped += zlib.gzipSync(data, { level: 9 }).length;
  }
  return { bytes, gzipped };
}

// CPU seconds so far of the descendants of the process `pid` (the browser's processes are this
// one's), but for the renderer of the browser's own interface (--top-chrome-webui), which is
// no page's and collects its garbage in the middle of some visits.
function childrenCpu(pid) {
  const stats = fs.readdirSync("/proc").filter((d) => /^\d+$/.test(d)).map((d) => {
    try {
      const fields = fs.readFileSync(`/proc/${d}/stat`, "utf8").replace(/^.*\) /, "").split(" ");
      const own = fs.readFileSync(`/proc/${d}/cmdline`, "utf8").includes("--top-chrome-webui");
      return { pid: Number(d), ppid: Number(fields[1]), ticks: own ? 0 : Number(fields[11]) + Number(fields[12]) };
    } catch {
      return null;  // it ended meanwhile
    }
  }).filter(Boolean);
  const tree = new Set([pid]);
  for (let grown = true; grown;) {
    grown = false;
    for (const s of stats) if (!tree.has(s.pid) && tree.has(s.ppid)) { tree.add(s.pid); grown = true; }
  }
  return stats.filter((s) => tree.has(s.pid) && s.pid !== pid).reduce((sum, s) => sum + s.ticks, 0) / 100;  // CLK_TCK
}

// The floor of figure 11: what any page pays to show a picture ten times a second on a canvas
// set up as the game's (800 x 600, 2d, opaque, desynchronized): a band of 800 x 16 pixels put
// anew each time, the size of what a tick of the battle changes.
const FLOOR_PAGE = `<!DOCTYPE html><meta charset="utf-8"><body style="margin: 0; background: #000">
<canvas id="screen" width="800" height="600"></canvas><script>
  const context = document.getElementById("screen").getContext("2d", { alpha: false, desynchronized: true });
  const band = context.createImageData(800, 16);
  let shown = 0;
  setInterval(() => {
    band.data.fill(++shown % 2 ? 200 : 40);
    context.putImageData(band, 0, 292);
  }, 100);
</script>`;

// The game's own pictures without the game: the puts and black fills that its page made on its
// canvas in a measured visit, made again at the same moments on a canvas set up as the game's,
// from one picture that never changes. What the page costs beyond it is the program and the
// page's machinery around it; what it costs beyond the floor, the browser's showing of the
// battle's pictures (the places a tick changes lie far apart, and a shake moves the whole).
const PICTURES_PAGE = `<!DOCTYPE html><meta charset="utf-8"><body style="margin: 0; background: #000">
<canvas id="screen" width="800" height="600"></canvas><script>
  const context = document.getElementById("screen").getContext("2d", { alpha: false, desynchronized: true });
  const picture = context.createImageData(800, 600);
  picture.data.fill(90);
  window.play = (made) => {
    const from = performance.now();
    let next = 0;
    const due = () => {
      while (next < made.length && made[next][0] <= performance.now() - from) {
        const [, dx, dy, x, y, w, h] = made[next++];
        if (dx === null) context.fillRect(x, y, w, h);
        else context.putImageData(picture, dx, dy, x, y, w, h);
      }
      // Whole milliseconds: the browser drops a delay's fraction, and the timer would come
      // early and need a second one (half the puts took two wakes that way).
      if (next < made.length) setTimeout(due, Math.ceil(made[next][0] - (performance.now() - from)));
    };
    due();
  };
</script>`;

// Notes in the page what it makes on its canvas once window.madeFrom is set: [ms from then,
// dx, dy, x, y, w, h] for a put, and dx = dy = null for a black fill (a shake's edges).
function noteMade() {
  window.made = [];
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, dx, dy, x = 0, y = 0, w = image.width, h = image.height) {
    if (window.madeFrom !== undefined) window.made.push([performance.now() - window.madeFrom, dx, dy, x, y, w, h]);
    return put.apply(this, arguments);
  };
  const fill = CanvasRenderingContext2D.prototype.fillRect;
  CanvasRenderingContext2D.prototype.fillRect = function (x, y, w, h) {
    if (window.madeFrom !== undefined) window.made.push([performance.now() - window.madeFrom, null, null, x, y, w, h]);
    return fill.apply(this, arguments);
  };
}

// Takes Web Audio away from a page, as a browser without it would be.
function withoutPads() {
  delete Navigator.prototype.getGamepads;
}

function withoutAudio() {
  delete window.AudioContext;
  delete window.webkitAudioContext;
}

// The browser's CPU seconds over `seconds` of one visit in a fresh browser, from `WARM_UP_S`
// after the game's first key (game) or after the floor page loaded (or the pictures page, which
// then makes `pictures` again), with or without Web Audio. A visit noting what it made on its
// canvas (noteMade) gives it as well: { cpu, made }.
const WARM_UP_S = 20;
async function visitCpu(url, { game, audio, pads = true, pictures = null, note = false }) {
  const browser = await launch();
  try {
    const context = await browser.newContext();
    if (!audio) await context.addInitScript(withoutAudio);
    if (!pads) await context.addInitScript(withoutPads);
    if (note) await context.addInitScript(noteMade);
    const page = await context.newPage();
    const said = [];
    page.on("console", (message) => { if (message.text().startsWith("sevenchips")) said.push(message.text()); });
    await page.goto(url + (game ? "index.html" : pictures ? "pictures.html" : "floor.html"));
    if (game) {
      await waitForState(page, "start");
      await page.keyboard.press("Enter");
      await waitForState(page, "playing");
    }
    await page.waitForTimeout(WARM_UP_S * 1000);
    if (note) await page.evaluate(() => { window.madeFrom = performance.now(); });
    if (pictures) await page.evaluate((made) => window.play(made), pictures);
    const before = childrenCpu(process.pid);
    await page.waitForTimeout(seconds * 1000);
    const cpu = childrenCpu(process.pid) - before;
    if (game && !audio && said.join("\n") !== "sevenchips: no audio in this browser; playing silently") {
      throw new Error(`the page without Web Audio said ${JSON.stringify(said)}, not its one line`);
    }
    if (!note) return cpu;
    const made = await page.evaluate((s) => window.made.filter((m) => m[0] < 1000 * s), seconds);
    return { cpu, made };
  } finally {
    await browser.close();
  }
}

const REPLAY_PAGE = `<!DOCTYPE html><meta charset="utf-8"><script src="sevenchips-replay.js"></script><script>
  // One fresh program per replay; only the replay itself is timed.
  window.replay = async (keys, face) => {
    const program = await SevenChipsReplay({ print: () => {}, printErr: () => {} });
    program.FS.writeFile("/win.keys", new Uint8Array(keys));
    program.FS.mkdir("/fonts");
    program.FS.writeFile("/fonts/face.ttf", new Uint8Array(face));  // where the browser's build looks
    for (const dir of ["/app", "/app/se", "/data"]) program.FS.mkdir(dir);
    const started = performance.now();
    program.callMain(["--keys", "/win.keys", "--app-dir", "/app/", "--data-dir", "/data/"]);
    return performance.now() - started;
  };
</script>`;

const server = await serve(site, {
  "/win.keys": winKeys,
  "/sevenchips-replay.js": path.join(webBuild, "game/sevenchips-replay.js"),
  "/sevenchips-replay.wasm": path.join(webBuild, "game/sevenchips-replay.wasm"),
  "/replay.html": path.join(webBuild, "replay.html"),
  "/floor.html": path.join(webBuild, "floor.html"),
  "/pictures.html": path.join(webBuild, "pictures.html"),
});
fs.writeFileSync(path.join(webBuild, "replay.html"), REPLAY_PAGE);
fs.writeFileSync(path.join(webBuild, "floor.html"), FLOOR_PAGE);
fs.writeFileSync(path.join(webBuild, "pictures.html"), PICTURES_PAGE);
fs.mkdirSync(path.join(webBuild, "bench-app/se"), { recursive: true });
let browser = await launch();
try {
  // Start-up.
  const start = [], sign = [];
  for (let visit = 0; visit < 5; visit++) {
    const context = await browser.newContext();
    await context.addInitScript(noteMoments);
    const page = await context.newPage();
    await page.goto(server.url + "index.html");
    await waitForState(page, "start");
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => window.moments.sign !== undefined, null, { timeout: 10000, polling: 20 });
    const m = await page.evaluate(() => window.moments);
    start.push(m.start);
    sign.push(m.sign - m.input);
    await context.close();
  }
  say("web_start_ms", median(start).toFixed(0));
  say("web_sign_ms", median(sign).toFixed(0));

  const { bytes, gzipped } = siteBytes();
  say("web_bytes", bytes);
  say("web_gzip_bytes", gzipped);

  // The battle, idle but for the clock, as a player's page runs it: no trace, whose line a tick
  // through the console to this script cost the browser 0.1-0.2 s of the 20. The battle begins
  // some 2.7 s after the first input (the signboard's logo and its two seconds). Only the
  // visit's own browser runs meanwhile.
  await browser.close();
  browser = null;
  {
    const pairs = [];
    for (let pair = 0; pair < 5; pair++) {
      const { cpu: game, made } = await visitCpu(server.url, { game: true, audio: false, note: true });
      const floor = await visitCpu(server.url, { game: false, audio: false });
      const pictures = await visitCpu(server.url, { game: false, audio: false, pictures: made });
      pairs.push({ game, floor, ratio: game / floor, pictures, made: made.length });
    }
    const middle = [...pairs].sort((a, b) => a.ratio - b.ratio)[2];
    say("web_cpu_s", middle.game.toFixed(2));
    say("web_floor_cpu_s", middle.floor.toFixed(2));
    say("web_cpu_pairs", pairs.map((p) => `${p.game.toFixed(2)}/${p.floor.toFixed(2)}`).join(","));
    say("web_pictures_cpu_s", median(pairs.map((p) => p.pictures)).toFixed(2));
    say("web_pictures_cpu_runs", pairs.map((p) => p.pictures.toFixed(2)).join(","));
    say("web_made_per_s", (median(pairs.map((p) => p.made)) / seconds).toFixed(1));
    const sound = [];
    for (let visit = 0; visit < 3; visit++) sound.push(await visitCpu(server.url, { game: true, audio: true }));
    say("web_sound_cpu_s", median(sound).toFixed(2));
    say("web_sound_cpu_runs", sound.map((s) => s.toFixed(2)).join(","));
    say("web_silent_cpu_s", median(pairs.map((p) => p.game)).toFixed(2));
    const nopad = [];
    for (let visit = 0; visit < 3; visit++) nopad.push(await visitCpu(server.url, { game: true, audio: false, pads: false }));
    say("web_nopad_cpu_s", median(nopad).toFixed(2));
    say("web_nopad_cpu_runs", nopad.map((s) => s.toFixed(2)).join(","));
  }

  // The replay tool in the page and on the machine.
  {
    browser = await launch();
    const page = await browser.newPage();
    await page.goto(server.url + "replay.html");
    const ticks = Number(fs.readFileSync(winKeys, "utf8").trim().split("\n").at(-1).split(" ")[0]);  // its last key
    const keys = [...fs.readFileSync(winKeys)], face = [...fs.readFileSync(font)];
    const web = [], native = [];
    for (let run = 0; run < 3; run++) {
      web.push(await page.evaluate(([k, f]) => window.replay(k, f), [keys, face]));
      const started = process.hrtime.bigint();
      execFileSync(nativeReplay, ["--keys", winKeys, "--app-dir", path.join(webBuild, "bench-app/"), "--data-dir", path.join(webBuild, "bench-data")],
        { stdio: "ignore" });
      native.push(Number(process.hrtime.bigint() - started) / 1e6);
    }
    say("web_replay_tps", (ticks / (median(web) / 1000)).toFixed(0));
    say("native_replay_tps", (ticks / (median(native) / 1000)).toFixed(0));
    say("web_replay_ms", median(web).toFixed(0));
    await browser.close();
    browser = null;
  }

  // A seek to the end of the winning game, watched from its link.
  {
    const link = execFileSync(nativeReplay, ["--keys", winKeys, "--link"], { encoding: "utf8" }).trim();
    const seeks = [];
    for (let visit = 0; visit < 3; visit++) {
      browser = await launch();
      const page = await browser.newPage();
      await page.goto(server.url + "index.html" + link);
      await page.waitForFunction(() => document.getElementById("run-offer")?.offsetParent !== null);
      await page.keyboard.press("Enter");
      await waitForState(page, "playing");
      await page.waitForTimeout(3000);  // into the battle
      seeks.push(await page.evaluate(() => new Promise((done) => {
        const started = performance.now();
        new MutationObserver(() => {
          if (document.body.dataset.state === "ended") done(performance.now() - started);
        }).observe(document.body, { attributes: true, attributeFilter: ["data-state"] });
        window.SevenChipsWatch.seekTo(1e9);
      })));
      await browser.close();
      browser = null;
    }
    say("web_seek_ms", median(seeks).toFixed(0));
    say("web_seek_runs", seeks.map((s) => s.toFixed(0)).join(","));
  }
} finally {
  if (browser) await browser.close();
  await server.close();
}
