// Game controllers through the Gamepad API, mapped as on the desktop: the D-pad and the left
// stick as the arrows, Start as Enter, Back as Escape, Y as pause; a held direction repeats as
// a held key does, and on the start screen any button starts the game. Pads are read once a
// frame (requestAnimationFrame) only while one is connected.
//
// The browser reads the machine's controllers many times a second for as long as a page listens
// for them (a few per cent of a core), connected or not. So without a pad the page listens only
// out of battle: on the start screen, while paused, after the end. A pad plugged in before a
// game works at once; one plugged in during a battle is found at the next pause (the keyboard's
// or the touch controls'), and while one is connected the page listens all the time.
"use strict";
(() => {
  const page = window.SevenChipsPage;
  if (!navigator.getGamepads) return;
  const { LEFT, UP, RIGHT, DOWN, ENTER, ESCAPE } = page.keys;
  const PAUSE = "pause";
  // The standard mapping's buttons: 12..15 the D-pad, 9 Start, 8 Back, 3 Y.
  const BUTTONS = [[12, UP], [13, DOWN], [14, LEFT], [15, RIGHT], [9, ENTER], [8, ESCAPE], [3, PAUSE]];
  const DIRECTIONS = [UP, DOWN, LEFT, RIGHT];
  const STICK = 0.5;  // how far the stick leans before it counts as a direction

  // Each pad's inputs held at the last frame, with the time each repeats next.
  const held = new Map();  // pad index -> { any: a button was down, codes: Map(code -> next) }
  let frame = 0;

  function codesOf(pad) {
    const codes = new Set();
    for (const [i, code] of BUTTONS) if (pad.buttons[i] && pad.buttons[i].pressed) codes.add(code);
    const [x = 0, y = 0] = pad.axes;
    if (x <= -STICK) codes.add(LEFT);
    if (x >= STICK) codes.add(RIGHT);
    if (y <= -STICK) codes.add(UP);
    if (y >= STICK) codes.add(DOWN);
    return codes;
  }

  function press(code) {
    if (code === PAUSE) page.togglePause();
    else page.push(code);
  }

  function read(pad, now) {
    const was = held.get(pad.index) || { any: false, codes: new Map() };
    const any = pad.buttons.some((b) => b.pressed), down = codesOf(pad);
    if ((any && !was.any) || [...down].some((code) => !was.codes.has(code))) page.use("pad");
    const codes = new Map();
    for (const code of down) {
      let next = was.codes.get(code);
      if (!page.running) {
        next = Infinity;  // held into the game, it does nothing there
      } else if (next === undefined) {
        press(code);
        next = DIRECTIONS.includes(code) ? now + page.repeat.delay : Infinity;
      } else if (now >= next) {
        press(code);
        next = now + page.repeat.every;
      }
      codes.set(code, next);
    }
    if (!page.running && any && !was.any) page.begin();  // as a key does on the start screen
    held.set(pad.index, { any, codes });
  }

  function poll(now) {
    frame = 0;
    let connected = false;
    for (const pad of navigator.getGamepads()) {
      if (!pad || !pad.connected) continue;
      connected = true;
      read(pad, now);
    }
    if (connected) {
      frame = requestAnimationFrame(poll);
    } else {
      held.clear();
      padIn = false;  // the last was unplugged
      listen();
    }
  }
  function watch() { if (!frame) frame = requestAnimationFrame(poll); }

  const body = document.body;
  let listening = false, padIn = false;
  const connected = () => [...navigator.getGamepads()].some((pad) => pad && pad.connected);
  const inBattle = () => body.dataset.state === "playing" && !body.hasAttribute("data-paused");
  function found() {
    padIn = true;
    watch();
  }
  function lost(e) {
    if (e.gamepad) held.delete(e.gamepad.index);
  }
  function listen() {
    const wanted = padIn || !inBattle();
    if (wanted === listening) return;
    listening = wanted;
    for (const [type, handler] of [["gamepadconnected", found], ["gamepaddisconnected", lost]]) {
      if (wanted) window.addEventListener(type, handler);
      else window.removeEventListener(type, handler);
    }
    // A pad the browser already knows of (plugged in before the page came, or while it did not
    // listen).
    if (wanted && connected()) found();
  }
  new MutationObserver(listen).observe(body, { attributes: true, attributeFilter: ["data-state", "data-paused"] });
  listen();
})();
