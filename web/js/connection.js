// The settings host's API. Actions go one at a time, in order, so no change overtakes another;
// a slider's moves while one is under way collapse into its latest value, so none is lost
// and none is sent twice.

async function readJson(response) {
  try {
    return await response.json();
  } catch {
    return { error: `the host answered ${response.status}` };
  }
}

export class Connection {
  // onPage(page, { refused }) after every answer that carries a page (refused: the action was
  // not done, so the page shows things as they were); onError(message) for refusals.
  constructor({ onPage, onError }) {
    this.onPage = onPage;
    this.onError = onError;
    this.queue = [];
    this.busy = false;
  }

  async load() {
    const answer = await readJson(await fetch('/api/page', { cache: 'no-store' }));
    if (answer.page) this.onPage(answer.page);
    else this.onError(answer.error);
  }

  // `coalesce`: a key; a queued action with the same key is replaced by this one.
  send(action, { coalesce } = {}) {
    const waiting = coalesce && this.queue.find((entry) => entry.coalesce === coalesce);
    if (waiting) waiting.action = action;
    else this.queue.push({ action, coalesce });
    this.drain();
  }

  get idle() {
    return !this.busy && this.queue.length === 0;
  }

  async drain() {
    if (this.busy) return;
    this.busy = true;
    while (this.queue.length) {
      const { action } = this.queue.shift();
      try {
        const response = await fetch('/api/action', {
          method: 'POST',
          headers: { 'Content-Type': 'application/json' },
          body: JSON.stringify(action),
        });
        const answer = await readJson(response);
        if (answer.error) this.onError(answer.error);
        // Later actions bring a newer page; drawing this one would only flicker.
        if (answer.page && this.queue.length === 0) this.onPage(answer.page, { refused: Boolean(answer.error) });
      } catch (error) {
        this.onError(`cannot reach the settings host (${error.message})`);
      }
    }
    this.busy = false;
    document.body.dataset.idle = 'true';
  }
}

// Shows the home screen's picture and replaces it whenever the springboard draws a new one.
export function watchScreen(picture, status, interval = 120) {
  let shown = null;
  const poll = async () => {
    try {
      const answer = await readJson(await fetch('/api/screen', { cache: 'no-store' }));
      if (answer.version && answer.version !== shown) {
        const next = new Image();
        next.src = `/screen.png?v=${encodeURIComponent(answer.version)}`;
        await next.decode();
        picture.src = next.src;
        picture.dataset.version = answer.version;
        shown = answer.version;
        status.textContent = '';
      } else if (!answer.version) {
        status.textContent = 'Waiting for the home screen…';
      }
    } catch {
      // The picture may be replaced while it is read; the next turn gets the new one.
    }
    setTimeout(poll, interval);
  };
  poll();
}
