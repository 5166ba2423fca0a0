// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 25,
  reportType: "RT_POLISH",
  dateTime: "2025-08-10 23:25:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.75 ct"],
    ["Measurements", "7.60 × 7.64 × 4.71 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
