// The web edition on a phone and with a controller, in Debian's Chromium against the headless
// replay tool: a game played by taps and swipes is the game of the keys they stand for, a tap
// on the field never quits, the page neither scrolls nor zooms, the controls and panels fit
// beside the picture in both orientations, the screen stays awake only in battle, and a
// controller stood in for the browser's own plays to the replay tool's trace.
// Usage: node touch.mjs SITE_DIR REPLAY_TOOL WORK_DIR  (run by tests/web/run.sh)
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";

import {
  collectTrace, devices, inside, launch, overlap, replay as replayTool, sameLines, serve, waitForState,
} from "../../tools/web/browser.mjs";

const [site, replayPath, work] = process.argv.slice(2).map((p) => path.resolve(p));
let browser, server;

before(async () => {
  fs.mkdirSync(work, { recursive: true });
  server = await serve(site);
  browser = await launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// The replay tool's trace of a key script (to N battle ticks when given).
const replay = (keys, name, ticks) => replayTool(replayPath, keys, work, name, [], ticks ? ["--ticks", String(ticks)] : []);

// A recording's keys, by name, without their ticks; and its seed.
const recordedKeys = (text) => text.trim().split("\n").filter((l) => /^\d/.test(l)).map((l) => l.split(" ")[1]);
const recordedSeed = (text) => Number(/^seed (\d+)/m.exec(text)[1]);

// Waits until `done()`, for `timeout` ms at most.
async function until(page, done, what, timeout = 30000) {
  for (const end = Date.now() + timeout; !done(); await page.waitForTimeout(10)) {
    if (Date.now() > end) assert.fail(`waited in vain for ${what}`);
  }
}
const ticks = (trace) => trace.filter((l) => l.startsWith('{"event":"tick"')).length;
async function waitForTicks(page, trace, n) {
  const target = ticks(trace) + n;
  await until(page, () => ticks(trace) >= target, `${n} ticks`);
}
const battleBegun = (trace) => trace.some((l) => l.startsWith('{"event":"start"'));
const keyEvents = (trace) => trace.filter((l) => l.startsWith('{"event":"key"')).length;

// The wake lock, watched: whether the page holds one now.
function standInWakeLock() {
  window.wakeLocks = { held: 0 };
  navigator.wakeLock.request = async () => {
    window.wakeLocks.held++;
    const sentinel = new EventTarget();
    sentinel.release = async () => {
      window.wakeLocks.held--;
      sentinel.dispatchEvent(new Event("release"));
    };
    return sentinel;
  };
}

async function openPhone(device, query) {
  const context = await browser.newContext({ ...devices[device] });
  await context.addInitScript(standInWakeLock);
  const page = await context.newPage();
  const trace = collectTrace(page);
  await page.goto(server.url + "index.html" + query);
  await waitForState(page, "start");
  const start = await page.locator("#start").boundingBox();
  await page.touchscreen.tap(start.x + start.width / 2, start.y + start.height / 2);
  await waitForState(page, "playing");
  // Touches count only in battle: wait for it.
  await until(page, () => battleBegun(trace), "the battle");
  await waitForTicks(page, trace, 2);
  return { context, page, trace, cdp: await context.newCDPSession(page) };
}

const rect = (page, selector) => page.locator(selector).boundingBox();
const tapOn = async (page, selector) => {
  const box = await rect(page, selector);
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
};
// A point of the 800 x 600 picture, on the page.
async function onPage(page, x, y) {
  const canvas = await rect(page, "#screen");
  return { x: canvas.x + (x + 0.5) * canvas.width / 800, y: canvas.y + (y + 0.5) * canvas.height / 600 };
}
// Face i's middle (the surface at (16, 12), face boxes 90 pixels wide at x = 51 + 96 i, y = 451).
const tapFace = async (page, i) => {
  const at = await onPage(page, 16 + 51 + 96 * i + 45, 12 + 451 + 45);
  await page.touchscreen.tap(at.x, at.y);
};
// A short swipe on the field, as a finger gives it: a few moves 25 ms apart.
async function swipe(page, cdp, dy) {
  const at = await onPage(page, 400, 250);
  const point = (k) => [{ x: at.x + k, y: at.y + (dy * k) / 4 }];
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: point(0) });
  for (let k = 1; k <= 4; k++) {
    await page.waitForTimeout(25);
    await cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: point(k) });
  }
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
}

// Nothing of the page has moved or zoomed.
const still = (page) => page.evaluate(() => ({
  scrollX: window.scrollX, scrollY: window.scrollY, top: document.scrollingElement.scrollTop,
  scale: window.visualViewport.scale, offsetTop: window.visualViewport.offsetTop,
}));
const STILL = { scrollX: 0, scrollY: 0, top: 0, scale: 1, offsetTop: 0 };

async function quitByTouch(page) {
  await tapOn(page, "#touch-quit");
  await page.waitForSelector("#ask:not([hidden])");
  await tapOn(page, "#quit");
  await waitForState(page, "ended");
}

test("a game played by taps and swipes is the game of the keys they stand for", async () => {
  const { context, page, trace, cdp } = await openPhone("Pixel 5", "?trace=1&speed=2");
  // Each touch, and the keys it stands for from the cursor of the moment (3 at the start).
  let cursor = 3;
  const face = (i) => {
    const keys = Array(Math.abs(i - cursor)).fill(i < cursor ? "Left" : "Right");
    cursor = i;
    return [() => tapFace(page, i), keys];
  };
  const button = (name, key) => [() => tapOn(page, `#arrows .${name}`), (() => {
    if (key === "Left") cursor = Math.max(cursor - 1, 0);
    if (key === "Right") cursor = Math.min(cursor + 1, 6);
    return [key];
  })()];
  const touches = [
    face(5), [() => swipe(page, cdp, -60), ["Up"]], button("left", "Left"), face(0), button("left", "Left"),
    [() => swipe(page, cdp, 60), ["Down"]], button("up", "Up"), face(6), face(6), button("right", "Right"),
    button("down", "Down"), face(2), [() => swipe(page, cdp, 60), ["Down"]], button("right", "Right"),
  ];
  // Two taps in quick succession, with no wait between them: the second counts from where the
  // first one's keys leave the cursor, whether or not the game has handled them yet.
  const twice = [async () => {
    const [a, b] = [await onPage(page, 112, 508), await onPage(page, 688, 508)];
    for (const at of [a, b]) {
      await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [at] });
      await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    }
  }, [...face(0)[1], ...face(6)[1]]];
  touches.push(twice);
  const expected = [];
  for (const [touch, keys] of touches) {
    await touch();
    expected.push(...keys);
    await page.waitForTimeout(120);
  }

  // A tap on the field does nothing at all; the desktop's quitting click is the mouse's.
  const keysBefore = keyEvents(trace);
  const field = await onPage(page, 400, 250);
  await page.touchscreen.tap(field.x, field.y);
  await waitForTicks(page, trace, 10);
  assert.equal(await page.evaluate(() => document.body.dataset.state), "playing", "a tap on the field ended the game");
  assert.equal(keyEvents(trace), keysBefore, "a tap on the field reached the game");

  // Pause and go on by touch; the question before quitting pauses, and "go on" resumes.
  for (const [what, on, off] of [["the pause button", "#touch-pause", "#touch-pause"], ["the quit question", "#touch-quit", "#stay"]]) {
    await tapOn(page, on);
    await page.waitForSelector("body[data-paused]");
    const lines = trace.length;
    await page.waitForTimeout(600);
    assert.equal(trace.length, lines, `the battle went on while paused by ${what}`);
    assert.equal(await page.evaluate(() => window.wakeLocks.held), 0, `the screen kept awake while paused by ${what}`);
    await tapOn(page, off);
    await page.waitForSelector("body:not([data-paused])");
    await waitForTicks(page, trace, 2);
    assert.equal(await page.evaluate(() => window.wakeLocks.held), 1, `the screen not kept awake after ${what}`);
  }
  assert.deepEqual(await still(page), STILL, "the touches scrolled or zoomed the page");
  await quitByTouch(page);
  assert.equal(await page.evaluate(() => window.wakeLocks.held), 0, "the screen kept awake after the end");

  const recording = await page.evaluate(() => window.sevenchips.recording);
  assert.deepEqual(recordedKeys(recording), [...expected, "Click"], "the recording's keys");
  const file = path.join(work, "touched.keys");
  fs.writeFileSync(file, recording);
  sameLines(trace, replay(file, "touched"), "the trace of the touched game");
  await context.close();
});

// The boxes of the controls showing now.
const shownControls = (page) => page.evaluate(() => [...document.querySelectorAll(".controls button")]
  .filter((b) => getComputedStyle(b).visibility === "visible" && b.getClientRects().length)
  .map((b) => { const r = b.getBoundingClientRect(); return { id: b.id || b.className, x: r.x, y: r.y, width: r.width, height: r.height }; }));

for (const [device, name] of [["Pixel 5", "portrait"], ["Pixel 5 landscape", "landscape"]]) {
  test(`the page fits a phone held in ${name}: picture, controls and panels`, async () => {
    const { context, page } = await openPhone(device, "?trace=1&speed=2");
    const screen = { x: 0, y: 0, ...page.viewportSize() };
    const picture = await rect(page, "#screen");
    assert.ok(inside(picture, screen), `the picture ${JSON.stringify(picture)} leaves the screen`);
    if (name === "portrait") assert.ok(picture.width >= screen.width - 1, `the picture is ${picture.width} wide of ${screen.width}`);
    else assert.ok(picture.height >= screen.height - 1, `the picture is ${picture.height} high of ${screen.height}`);

    const controls = await shownControls(page);
    assert.equal(controls.length, 8, "the touch controls in battle");
    for (const c of controls) {
      assert.ok(inside(c, screen) && !overlap(c, picture), `${c.id} ${JSON.stringify(c)} covers the picture or leaves the screen`);
      assert.ok(c.width >= 44 && c.height >= 44, `${c.id} is ${c.width} x ${c.height}: too small for a thumb`);
      // Within a thumb's reach: the lower part of the screen in portrait, the sides in landscape.
      if (name === "portrait") assert.ok(c.y >= picture.y + picture.height, `${c.id} above the picture's foot`);
      else assert.ok(c.x + c.width <= picture.x || c.x >= picture.x + picture.width, `${c.id} not at a side`);
    }
    await page.screenshot({ path: path.join(work, `battle-${name}.png`) });

    // A key puts the controls away, a touch brings them back.
    await page.keyboard.press("Shift");
    assert.equal((await shownControls(page)).length, 0, "the controls stayed for the keyboard");
    const field = await onPage(page, 400, 250);
    await page.touchscreen.tap(field.x, field.y);
    assert.equal((await shownControls(page)).length, 8, "the controls did not come back on a touch");

    await quitByTouch(page);
    const panel = await page.evaluate(() => [...document.querySelectorAll("#end p, #end button, #end a")]
      .filter((e) => e.getClientRects().length).map((e) => { const r = e.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; }));
    for (const part of panel) assert.ok(inside(part, picture), `the end panel's ${JSON.stringify(part)} spills over the picture`);
    for (const c of await shownControls(page)) assert.ok(!overlap(c, picture), `${c.id} covers the end panel`);
    assert.deepEqual(await still(page), STILL, "the page scrolled or zoomed");
    await page.screenshot({ path: path.join(work, `end-${name}.png`) });
    await context.close();
  });
}

test("on a phone too, the mouse's click quits and puts the touch controls away", async () => {
  const { context, page } = await openPhone("Pixel 5", "?trace=1&speed=2");
  const field = await onPage(page, 400, 250);
  await page.mouse.click(field.x, field.y);
  await waitForState(page, "ended");
  assert.equal(await page.evaluate(() => document.body.dataset.input), "mouse");
  assert.equal((await shownControls(page)).length, 0, "the touch controls stayed for the mouse");
  assert.deepEqual(recordedKeys(await page.evaluate(() => window.sevenchips.recording)), ["Click"]);
  await context.close();
});

// A controller stood in for the browser's: a standard-mapping pad whose buttons and stick the
// test sets, and a count of the page's reads of the pads.
function standInPad() {
  const pad = {
    id: "stand-in", index: 0, connected: true, mapping: "standard", timestamp: 0,
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })), axes: [0, 0, 0, 0],
  };
  window.pad = { plugged: false, reads: 0, state: pad };
  navigator.getGamepads = () => {
    window.pad.reads++;
    return [window.pad.plugged ? pad : null, null, null, null];
  };
  window.pad.plug = (on) => {
    window.pad.plugged = on;
    window.dispatchEvent(new Event(on ? "gamepadconnected" : "gamepaddisconnected"));
  };
}

// Sets buttons (numbers) and the stick ("x", "y") on the stand-in pad, holds them for `ms` (at
// least two frames), and lets go.
async function hold(page, inputs, ms = 0) {
  await page.evaluate(async ([inputs, ms]) => {
    const frames = () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    const set = (on) => {
      for (const [input, value] of Object.entries(inputs)) {
        if (input === "x" || input === "y") window.pad.state.axes[input === "x" ? 0 : 1] = on ? value : 0;
        else Object.assign(window.pad.state.buttons[input], { pressed: on, value: on ? 1 : 0 });
      }
    };
    set(true);
    await frames();
    await new Promise((r) => setTimeout(r, ms));
    set(false);
    await frames();
  }, [inputs, ms]);
}

test("a controller plays the first keys of win.keys to the replay tool's trace", async () => {
  const context = await browser.newContext();
  await context.addInitScript(standInPad);
  const page = await context.newPage();
  const trace = collectTrace(page);
  await page.goto(server.url + "index.html?trace=1&speed=0.1");
  await waitForState(page, "start");
  // No pad: the page does not read the pads, nor keeps a frame loop for them.
  await page.waitForTimeout(500);
  assert.ok(await page.evaluate(() => window.pad.reads) <= 1, "the pads were read with none plugged in");

  await page.evaluate(() => window.pad.plug(true));
  await hold(page, { 9: 1 });  // Start, on the start screen
  await waitForState(page, "playing");
  assert.equal(await page.evaluate(() => document.body.dataset.input), "pad");
  await until(page, () => battleBegun(trace), "the battle", 60000);
  // win.keys begins: 0 Left, 0 Up, 0 Right, 0 Right, 0 Up; by the D-pad and by the stick, all
  // within the battle's first tick (a second at this speed).
  const first = [{ 14: 1 }, { 12: 1 }, { x: 1 }, { 15: 1 }, { y: -1 }];
  for (const inputs of first) await hold(page, inputs);
  const N = 3;
  await waitForTicks(page, trace, N);
  const compared = trace.slice(0, trace.findIndex((l) => l.startsWith(`{"event":"tick","tick":${N},`)) + 1);

  // Y pauses and goes on; a held direction repeats as a held key does.
  for (const paused of [true, false]) {
    await hold(page, { 3: 1 });
    await page.waitForFunction((on) => document.body.hasAttribute("data-paused") === on, paused);
  }
  const before = keyEvents(trace);
  // Held for the repeat's delay and ten of its steps: at least a couple of repeats however
  // slowly a loaded machine draws its frames, and never more than the steps allow.
  await hold(page, { x: -1 }, 500 + 10 * 50);
  await page.waitForTimeout(100);
  const repeated = keyEvents(trace) - before;
  assert.ok(repeated >= 3 && repeated <= 12, `a held stick gave ${repeated} keys`);
  await hold(page, { 8: 1 });  // Back: Escape quits
  await waitForState(page, "ended");

  const recording = await page.evaluate(() => window.sevenchips.recording);
  assert.deepEqual(recordedKeys(recording).slice(0, 5), ["Left", "Up", "Right", "Right", "Up"]);
  const file = path.join(work, "pad-first.keys");
  fs.writeFileSync(file, `seed ${recordedSeed(recording)}\n0 Left\n0 Up\n0 Right\n0 Right\n0 Up\n`);
  const expected = replay(file, "pad-first", N);
  sameLines(compared, expected.slice(0, -1), "the trace of the controller's first keys");

  // Unplugged, the pad is no longer read.
  await page.evaluate(() => window.pad.plug(false));
  await page.waitForTimeout(100);
  const reads = await page.evaluate(() => window.pad.reads);
  await page.waitForTimeout(500);
  assert.equal(await page.evaluate(() => window.pad.reads), reads, "the pads were read after the last was unplugged");
  await context.close();
});
